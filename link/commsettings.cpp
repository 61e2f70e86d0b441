#include "link/commsettings.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QRegularExpression>
#include <QSettings>

quint8 readDeviceAddress(const QSettings &settings)
{
    return quint8(settings.value(QStringLiteral("device/address"), 255).toInt() & 0xFF);
}

SerialSettings readSerialSettings(const QSettings &settings)
{
    SerialSettings serial;
    serial.port = settings.value(QStringLiteral("serial/port")).toString();
    serial.baudRate = settings.value(QStringLiteral("serial/baudrate"), 9600).toInt();
    serial.dataBits = settings.value(QStringLiteral("serial/databits"), 8).toInt();
    serial.parity = settings.value(QStringLiteral("serial/parity"), 0).toInt();
    serial.stopBits = settings.value(QStringLiteral("serial/stopbits"), 1).toInt();
    serial.sendRts = settings.value(QStringLiteral("serial/send_rts"), false).toBool();
    serial.sendDtr = settings.value(QStringLiteral("serial/send_dtr"), false).toBool();
    return serial;
}

bool hasSerialPort(const QSettings &settings)
{
    return settings.contains(QStringLiteral("serial/port"));
}

UdpSettings readUdpSettings(const QSettings &settings)
{
    return { settings.value(QStringLiteral("udp/address")).toString(),
        settings.value(QStringLiteral("udp/port")).toString() };
}

bool readUseUdp(const QSettings &settings)
{
    return settings.value(QStringLiteral("communicate/udp"), 0).toInt() != 0;
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
    settings.setValue(QStringLiteral("device/address"), address);
}

void writeLinkSettings(QSettings &settings, const LinkSettings &link)
{
    writeDeviceAddress(settings, link.deviceAddress);
    if (link.useUdp)
        writeUdpSettings(settings, link.udp);
    else
        writeSerialSettings(settings, link.serial);
}

QString serialFrameText(const SerialSettings &serial)
{
    // Indexed by the serial port's parity values; 1 is unused.
    static const char kParityLetters[] = "N?EOSM";
    const char parityLetter = serial.parity >= 0 && serial.parity <= 5 ? kParityLetters[serial.parity] : '?';
    const QString stop = serial.stopBits == 3 ? QStringLiteral("1.5") : QString::number(serial.stopBits);
    return QString::number(serial.dataBits) + QLatin1Char(parityLetter) + stop;
}

QString LinkSettings::describe() const
{
    if (useUdp)
        return QStringLiteral("udp %1:%2").arg(udp.address.trimmed(), udp.port.trimmed());
    // One arg() call: a % in the port name must not be taken for a marker.
    return QStringLiteral("serial %1 %2 %3")
        .arg(serial.port, QString::number(serial.baudRate), serialFrameText(serial));
}

void writeSerialSettings(QSettings &settings, const SerialSettings &serial)
{
    settings.setValue(QStringLiteral("serial/port"), serial.port);
    settings.setValue(QStringLiteral("serial/baudrate"), serial.baudRate);
    settings.setValue(QStringLiteral("serial/databits"), serial.dataBits);
    settings.setValue(QStringLiteral("serial/parity"), serial.parity);
    settings.setValue(QStringLiteral("serial/stopbits"), serial.stopBits);
    settings.setValue(QStringLiteral("serial/send_rts"), serial.sendRts);
    settings.setValue(QStringLiteral("serial/send_dtr"), serial.sendDtr);
    settings.setValue(QStringLiteral("communicate/udp"), 0);
}

void writeUdpSettings(QSettings &settings, const UdpSettings &udp)
{
    settings.setValue(QStringLiteral("udp/address"), udp.address);
    settings.setValue(QStringLiteral("udp/port"), udp.port);
    settings.setValue(QStringLiteral("communicate/udp"), 1);
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
