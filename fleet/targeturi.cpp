#include "fleet/targeturi.h"

#include "fleet/fleettext.h"
#include "link/dsearchdevicethread.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

QString checkUdp(const QString &host, int port, LinkSettings *link)
{
    if (!isUdpAddressText(host))
        return FleetText::tr("无效的UDP地址: %1").arg(host);
    if (isGroupAddress(host))
        return FleetText::tr("不能向广播或组播地址发送: %1").arg(host);
    if (port < 1 || port > 65535)
        return FleetText::tr("无效的UDP端口: %1").arg(port);
    link->useUdp = true;
    link->udp = { host, quint16(port) };
    return {};
}

QString applySerialQuery(const QUrlQuery &query, LinkSettings *link)
{
    for (const auto &item : query.queryItems(QUrl::FullyDecoded)) {
        const QString &key = item.first;
        const QString &value = item.second;
        bool ok = true;
        if (key == QLatin1String("baud")) {
            link->serial.baudRate = value.toInt(&ok);
            ok = ok && link->serial.baudRate > 0;
        } else if (key == QLatin1String("data-bits")) {
            ok = parseDataBits(value, &link->serial.dataBits);
        } else if (key == QLatin1String("parity")) {
            ok = parseParity(value, &link->serial.parity);
        } else if (key == QLatin1String("stop-bits")) {
            ok = parseStopBits(value, &link->serial.stopBits);
        } else if (key == QLatin1String("rts")) {
            ok = value == QLatin1String("0") || value == QLatin1String("1");
            link->serial.sendRts = value == QLatin1String("1");
        } else if (key == QLatin1String("address")) {
            ok = parseDeviceAddress(value, &link->deviceAddress);
        } else {
            return FleetText::tr("未知的参数: %1").arg(key);
        }
        if (!ok)
            return FleetText::tr("无效的参数值: %1=%2").arg(key, value);
    }
    return {};
}

// Indexed by the serial port's parity values; 1 is unused.
const QStringList &parityNames()
{
    static const QStringList kNames { QStringLiteral("none"), QString(), QStringLiteral("even"), QStringLiteral("odd"),
        QStringLiteral("space"), QStringLiteral("mark") };
    return kNames;
}

} // namespace

bool parseDataBits(const QString &text, QSerialPort::DataBits *dataBits)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 5 || value > 8)
        return false;
    *dataBits = QSerialPort::DataBits(value);
    return true;
}

bool parseParity(const QString &text, QSerialPort::Parity *parity)
{
    const int value = parityNames().indexOf(text.toLower());
    if (value < 0 || text.isEmpty())
        return false;
    *parity = QSerialPort::Parity(value);
    return true;
}

bool parseStopBits(const QString &text, QSerialPort::StopBits *stopBits)
{
    if (text == QLatin1String("1"))
        *stopBits = QSerialPort::OneStop;
    else if (text == QLatin1String("1.5"))
        *stopBits = QSerialPort::OneAndHalfStop;
    else if (text == QLatin1String("2"))
        *stopBits = QSerialPort::TwoStop;
    else
        return false;
    return true;
}

bool parseDeviceAddress(const QString &text, quint8 *address)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < 1 || value > 255)
        return false;
    *address = quint8(value);
    return true;
}

bool isGroupAddress(const QString &host)
{
    const QHostAddress address(host);
    if (address.isNull() || address.isMulticast() || address.isBroadcast()
        || address == QHostAddress(QHostAddress::AnyIPv4) || address == QHostAddress(QHostAddress::AnyIPv6))
        return true;
    return DSearchDeviceThread::broadcastTargets().contains(address);
}

QString parseUdpTarget(const QString &text, LinkSettings *link)
{
    static const QRegularExpression kTargetForm(QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:\\[\\]]+)):(\\d{1,5})$"));
    const QRegularExpressionMatch match = kTargetForm.match(text);
    if (!match.hasMatch())
        return FleetText::tr("UDP目标应为 HOST:PORT: %1").arg(text);
    const QString host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    return checkUdp(host, match.captured(3).toInt(), link);
}

QString parseTargetUri(const QString &uri, LinkSettings *link)
{
    const int question = uri.indexOf(QLatin1Char('?'));
    const QString base = question < 0 ? uri : uri.left(question);
    const QUrlQuery query(question < 0 ? QString() : uri.mid(question + 1));
    if (base.startsWith(QLatin1String("udp://"))) {
        const QString error = parseUdpTarget(base.mid(6), link);
        if (!error.isEmpty())
            return error;
        for (const auto &item : query.queryItems(QUrl::FullyDecoded)) {
            if (item.first != QLatin1String("address"))
                return FleetText::tr("未知的参数: %1").arg(item.first);
            if (!parseDeviceAddress(item.second, &link->deviceAddress))
                return FleetText::tr("无效的参数值: %1=%2").arg(item.first, item.second);
        }
        return {};
    }
    if (base.startsWith(QLatin1String("serial:")) && base.size() > 7) {
        link->useUdp = false;
        link->serial.port = base.mid(7);
        return applySerialQuery(query, link);
    }
    return FleetText::tr("无法识别的目标: %1").arg(uri);
}

QString targetUri(const LinkSettings &link)
{
    QUrlQuery query;
    if (link.useUdp) {
        const bool v6 = link.udp.address.contains(QLatin1Char(':'));
        const QString host = v6 ? QLatin1Char('[') + link.udp.address + QLatin1Char(']') : link.udp.address;
        query.addQueryItem(QStringLiteral("address"), QString::number(link.deviceAddress));
        return QStringLiteral("udp://%1:%2?%3").arg(host).arg(link.udp.port).arg(query.toString(QUrl::FullyEncoded));
    }
    const SerialSettings defaults;
    const SerialSettings &serial = link.serial;
    query.addQueryItem(QStringLiteral("baud"), QString::number(serial.baudRate));
    if (serial.dataBits != defaults.dataBits)
        query.addQueryItem(QStringLiteral("data-bits"), QString::number(int(serial.dataBits)));
    if (serial.parity != defaults.parity)
        query.addQueryItem(QStringLiteral("parity"), parityNames().value(int(serial.parity)));
    if (serial.stopBits != defaults.stopBits)
        query.addQueryItem(QStringLiteral("stop-bits"),
            serial.stopBits == QSerialPort::OneAndHalfStop ? QStringLiteral("1.5")
                                                           : QString::number(int(serial.stopBits)));
    if (serial.sendRts)
        query.addQueryItem(QStringLiteral("rts"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("address"), QString::number(link.deviceAddress));
    return QStringLiteral("serial:%1?%2").arg(serial.port, query.toString(QUrl::FullyEncoded));
}
