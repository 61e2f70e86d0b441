#include "link/commsettings.h"

#include "base/settings.h"
#include "base/settingskeys.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QObject>
#include <QRegularExpression>
#include <QSettings>

namespace {

// Only the values the serial port knows; anything else keeps the default.
QSerialPort::DataBits toDataBits(int value)
{
    switch (value) {
    case QSerialPort::Data5:
    case QSerialPort::Data6:
    case QSerialPort::Data7:
    case QSerialPort::Data8:
        return QSerialPort::DataBits(value);
    default:
        return QSerialPort::Data8;
    }
}

QSerialPort::Parity toParity(int value)
{
    switch (value) {
    case QSerialPort::NoParity:
    case QSerialPort::EvenParity:
    case QSerialPort::OddParity:
    case QSerialPort::SpaceParity:
    case QSerialPort::MarkParity:
        return QSerialPort::Parity(value);
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits toStopBits(int value)
{
    switch (value) {
    case QSerialPort::OneStop:
    case QSerialPort::OneAndHalfStop:
    case QSerialPort::TwoStop:
        return QSerialPort::StopBits(value);
    default:
        return QSerialPort::OneStop;
    }
}

} // namespace

quint8 readDeviceAddress(const QSettings &settings)
{
    return quint8(settings.value(SettingsKey::kDeviceAddress, 255).toInt() & 0xFF);
}

SerialSettings readSerialSettings(const QSettings &settings)
{
    SerialSettings serial;
    serial.port = settings.value(SettingsKey::kSerialPort).toString();
    serial.baudRate = settings.value(SettingsKey::kSerialBaudRate, 9600).toInt();
    serial.dataBits = toDataBits(settings.value(SettingsKey::kSerialDataBits, 8).toInt());
    serial.parity = toParity(settings.value(SettingsKey::kSerialParity, 0).toInt());
    serial.stopBits = toStopBits(settings.value(SettingsKey::kSerialStopBits, 1).toInt());
    serial.sendRts = settings.value(SettingsKey::kSerialSendRts, false).toBool();
    serial.sendDtr = settings.value(SettingsKey::kSerialSendDtr, false).toBool();
    return serial;
}

bool hasSerialPort(const QSettings &settings)
{
    return settings.contains(SettingsKey::kSerialPort);
}

QString readUdpPortText(const QSettings &settings)
{
    return settings.value(SettingsKey::kUdpPort).toString();
}

UdpSettings readUdpSettings(const QSettings &settings)
{
    // The low 16 bits of the number, as the port has always been taken; text
    // that is no number gives 0.
    return { settings.value(SettingsKey::kUdpAddress).toString(),
        quint16(readUdpPortText(settings).toUInt() & 0xFFFF) };
}

bool readUseUdp(const QSettings &settings)
{
    return settings.value(SettingsKey::kUseUdp, 0).toInt() != 0;
}

LinkSettings readLinkSettings(const QSettings &settings)
{
    LinkSettings link;
    link.useUdp = readUseUdp(settings);
    link.deviceAddress = readDeviceAddress(settings);
    link.serial = readSerialSettings(settings);
    link.udp = readUdpSettings(settings);
    return link;
}

void writeDeviceAddress(QSettings &settings, int address)
{
    settings.setValue(SettingsKey::kDeviceAddress, address);
}

void writeLinkSettings(QSettings &settings, const LinkSettings &link)
{
    writeDeviceAddress(settings, link.deviceAddress);
    if (link.useUdp)
        writeUdpSettings(settings, link.udp.address, QString::number(link.udp.port));
    else
        writeSerialSettings(settings, link.serial);
}

LinkSettings storedLinkSettings()
{
    return readLinkSettings(*appSettings());
}

void storeLinkSettings(const LinkSettings &link)
{
    writeLinkSettings(*appSettings(), link);
}

LinkSettings LinkSettings::overUdp(const QString &address, quint16 port, quint8 deviceAddress)
{
    LinkSettings link;
    link.useUdp = true;
    link.deviceAddress = deviceAddress;
    link.udp = { address, port };
    return link;
}

LinkSettings LinkSettings::overSerial(const QString &port, quint8 deviceAddress)
{
    LinkSettings link;
    link.deviceAddress = deviceAddress;
    link.serial.port = port;
    return link;
}

QString serialFrameText(const SerialSettings &serial)
{
    // Indexed by the serial port's parity values; 1 is unused.
    static const char kParityLetters[] = "N?EOSM";
    const int parity = int(serial.parity);
    const char parityLetter = parity >= 0 && parity <= 5 ? kParityLetters[parity] : '?';
    const QString stop = serial.stopBits == QSerialPort::OneAndHalfStop ? QStringLiteral("1.5")
                                                                        : QString::number(int(serial.stopBits));
    return QString::number(int(serial.dataBits)) + QLatin1Char(parityLetter) + stop;
}

QString LinkSettings::targetText() const
{
    QString target;
    if (useUdp) {
        if (udp.address.isEmpty() || udp.port == 0) {
            target = QStringLiteral("UDP ") + QObject::tr("未设置地址");
        } else {
            const bool ipv6 = QHostAddress(udp.address).protocol() == QAbstractSocket::IPv6Protocol;
            const QString host = ipv6 ? QLatin1Char('[') + udp.address + QLatin1Char(']') : udp.address;
            target = QStringLiteral("UDP %1:%2").arg(host, QString::number(udp.port));
        }
    } else if (serial.port.isEmpty()) {
        target = QObject::tr("未选择串口");
    } else {
        // One arg() call: a % in the port name must not be taken for a marker.
        target = QStringLiteral("%1 %2 %3").arg(serial.port, QString::number(serial.baudRate), serialFrameText(serial));
    }
    return QObject::tr("%1 · 地址 %2").arg(target, QString::number(deviceAddress));
}

QString LinkSettings::describe() const
{
    if (useUdp)
        return QStringLiteral("udp %1:%2").arg(udp.address.trimmed(), QString::number(udp.port));
    // One arg() call: a % in the port name must not be taken for a marker.
    return QStringLiteral("serial %1 %2 %3")
        .arg(serial.port, QString::number(serial.baudRate), serialFrameText(serial));
}

QString LinkSettings::meterKey() const
{
    return describe() + QStringLiteral(" @%1").arg(deviceAddress);
}

void writeSerialSettings(QSettings &settings, const SerialSettings &serial)
{
    settings.setValue(SettingsKey::kSerialPort, serial.port);
    settings.setValue(SettingsKey::kSerialBaudRate, serial.baudRate);
    settings.setValue(SettingsKey::kSerialDataBits, int(serial.dataBits));
    settings.setValue(SettingsKey::kSerialParity, int(serial.parity));
    settings.setValue(SettingsKey::kSerialStopBits, int(serial.stopBits));
    settings.setValue(SettingsKey::kSerialSendRts, serial.sendRts);
    settings.setValue(SettingsKey::kSerialSendDtr, serial.sendDtr);
    settings.setValue(SettingsKey::kUseUdp, 0);
}

void writeUdpSettings(QSettings &settings, const QString &address, const QString &portText)
{
    settings.setValue(SettingsKey::kUdpAddress, address);
    settings.setValue(SettingsKey::kUdpPort, portText);
    settings.setValue(SettingsKey::kUseUdp, 1);
}

QString serialSettingsError(const QString &port, const QString &baudText)
{
    if (port.isEmpty())
        return QCoreApplication::translate("SetupDialog", "请选择串口!");
    if (baudText.isEmpty())
        return QCoreApplication::translate("SetupDialog", "请选择波特率!");
    return {};
}

bool isUdpAddressText(const QString &text)
{
    // The toolkit also takes short forms such as "10.1" and surrounding
    // blanks; a stored address must be the plain form the user meant.
    static const QRegularExpression kIpv4(QStringLiteral(
        "^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])(\\.(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])){3}$"));
    if (kIpv4.match(text).hasMatch())
        return true;
    if (!text.contains(QLatin1Char(':')) || text.trimmed() != text)
        return false;
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

QString udpSettingsError(const QString &address, const QString &port)
{
    if (address.isEmpty())
        return QCoreApplication::translate("SetupDialog", "请输入UDP地址");
    if (port.isEmpty())
        return QCoreApplication::translate("SetupDialog", "请输入UDP端口");
    if (!isUdpAddressText(address))
        return QCoreApplication::translate("SetupDialog", "UDP地址无效，请输入IPv4或IPv6地址");
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number < 1 || number > 65535)
        return QCoreApplication::translate("SetupDialog", "UDP端口无效，请输入1到65535之间的数字");
    return {};
}
