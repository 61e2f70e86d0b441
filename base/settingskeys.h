#pragma once

#include <QLatin1String>

// Every key of config.ini. Each group is read and written by one file, named
// beside it; nothing else spells a key.
namespace SettingsKey {

// With the length given: strlen is no constant expression for every compiler.
template<int N> constexpr QLatin1String key(const char (&text)[N])
{
    return QLatin1String(text, N - 1);
}

// The connection: link/commsettings.*
constexpr QLatin1String kUseUdp = key("communicate/udp");
constexpr QLatin1String kDeviceAddress = key("device/address");
constexpr QLatin1String kSerialPort = key("serial/port");
constexpr QLatin1String kSerialBaudRate = key("serial/baudrate");
constexpr QLatin1String kSerialDataBits = key("serial/databits");
constexpr QLatin1String kSerialParity = key("serial/parity");
constexpr QLatin1String kSerialStopBits = key("serial/stopbits");
constexpr QLatin1String kSerialSendRts = key("serial/send_rts");
constexpr QLatin1String kSerialSendDtr = key("serial/send_dtr");
constexpr QLatin1String kUdpAddress = key("udp/address");
constexpr QLatin1String kUdpPort = key("udp/port");

// The window, its language and title: base/settings.*
constexpr QLatin1String kWindowWidth = key("window/width");
constexpr QLatin1String kWindowHeight = key("window/height");
constexpr QLatin1String kLanguage = key("language/language");
constexpr QLatin1String kAppNameUs = key("appname/us");
constexpr QLatin1String kAppNameTw = key("appname/tw");
constexpr QLatin1String kAppNameCh = key("appname/ch");
constexpr QLatin1String kAppNameVersion = key("appname/ver");

// The folder last used per kind of file, "folders/<kind>": base/filenames.*
constexpr QLatin1String kFoldersGroup = key("folders/");

// Writes: items/writereview.*
constexpr QLatin1String kReviewBeforeWrite = key("items/review_before_write");
constexpr QLatin1String kBackupBeforeWrite = key("items/backup_before_write");

// The monitor: monitor/monitorsettings.*
constexpr QLatin1String kMonitorMaxLines = key("monitor/max_lines");
constexpr QLatin1String kMonitorRecordFolder = key("monitor/record_folder");
constexpr QLatin1String kMonitorRecordRaw = key("monitor/record_raw");
constexpr QLatin1String kMonitorTimestamps = key("monitor/timestamps");
constexpr QLatin1String kMonitorCommands = key("monitor/commands");
constexpr QLatin1String kMonitorHexPause = key("monitor/hex_pause");
constexpr QLatin1String kMonitorHexPauseMs = key("monitor/hex_pause_ms");

// The maker's download page: makersite/makersite.*
constexpr QLatin1String kUpdatePageUrl = key("update/page_url");
constexpr QLatin1String kUpdateVerifyPeer = key("update/verify_peer");

} // namespace SettingsKey
