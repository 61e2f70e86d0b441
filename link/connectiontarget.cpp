#include "link/connectiontarget.h"

#include <QHostAddress>
#include <QObject>
#include <QSettings>

QString connectionTargetText(bool useUdp, const SerialSettings &serial, const UdpSettings &udp, quint8 address)
{
    QString target;
    if (useUdp) {
        if (udp.address.isEmpty() || udp.port.isEmpty()) {
            target = QStringLiteral("UDP ") + QObject::tr("未设置地址");
        } else {
            const bool ipv6 = QHostAddress(udp.address).protocol() == QAbstractSocket::IPv6Protocol;
            const QString host = ipv6 ? QLatin1Char('[') + udp.address + QLatin1Char(']') : udp.address;
            target = QStringLiteral("UDP %1:%2").arg(host, udp.port);
        }
    } else if (serial.port.isEmpty()) {
        target = QObject::tr("未选择串口");
    } else {
        // One arg() call: a % in the port name must not be taken for a marker.
        target = QStringLiteral("%1 %2 %3").arg(serial.port, QString::number(serial.baudRate), serialFrameText(serial));
    }
    return QObject::tr("%1 · 地址 %2").arg(target, QString::number(address));
}

QString connectionTargetText(const LinkSettings &link)
{
    return connectionTargetText(link.useUdp, link.serial, link.udp, link.deviceAddress);
}

QString connectionTargetText(const QSettings &settings)
{
    return connectionTargetText(
        readUseUdp(settings), readSerialSettings(settings), readUdpSettings(settings), readDeviceAddress(settings));
}
