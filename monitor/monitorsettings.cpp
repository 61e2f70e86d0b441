#include "monitor/monitorsettings.h"

#include "base/settingskeys.h"

#include <QDir>
#include <QSettings>

namespace {
QString defaultRecordFolder()
{
    return QDir::current().absoluteFilePath(QStringLiteral("records"));
}

// A view of ten million lines would hold gigabytes.
constexpr int kMaxMaxLines = 10000000;
} // namespace

MonitorSettings readMonitorSettings(const QSettings &settings)
{
    MonitorSettings monitor;
    bool ok = false;
    const int lines = settings.value(SettingsKey::kMonitorMaxLines, monitor.maxLines).toInt(&ok);
    if (ok && lines >= 1 && lines <= kMaxMaxLines)
        monitor.maxLines = lines;
    monitor.recordFolder = settings.value(SettingsKey::kMonitorRecordFolder).toString();
    // Beside the journal and the backups unless the user chose a folder; it
    // is made when a recording first needs it.
    if (monitor.recordFolder.isEmpty() || !QDir(monitor.recordFolder).exists())
        monitor.recordFolder = defaultRecordFolder();
    monitor.recordRaw = settings.value(SettingsKey::kMonitorRecordRaw, false).toBool();
    monitor.timestamps = settings.value(SettingsKey::kMonitorTimestamps, false).toBool();
    monitor.commands = commandsFromLines(settings.value(SettingsKey::kMonitorCommands).toStringList());
    monitor.hexPause = settings.value(SettingsKey::kMonitorHexPause, false).toBool();
    const int pauseMs = settings.value(SettingsKey::kMonitorHexPauseMs, monitor.hexPauseMs).toInt(&ok);
    if (ok && pauseMs >= 1 && pauseMs <= MonitorSettings::kMaxHexPauseMs)
        monitor.hexPauseMs = pauseMs;
    return monitor;
}

void writeMonitorSettings(QSettings &settings, const MonitorSettings &monitor)
{
    settings.setValue(SettingsKey::kMonitorMaxLines, monitor.maxLines);
    // The default is not stored: it follows the working folder.
    if (QDir::cleanPath(monitor.recordFolder) == defaultRecordFolder())
        settings.remove(SettingsKey::kMonitorRecordFolder);
    else
        settings.setValue(SettingsKey::kMonitorRecordFolder, monitor.recordFolder);
    settings.setValue(SettingsKey::kMonitorRecordRaw, monitor.recordRaw);
    settings.setValue(SettingsKey::kMonitorTimestamps, monitor.timestamps);
    settings.setValue(SettingsKey::kMonitorCommands, commandsToLines(monitor.commands));
    settings.setValue(SettingsKey::kMonitorHexPause, monitor.hexPause);
    settings.setValue(SettingsKey::kMonitorHexPauseMs, monitor.hexPauseMs);
}
