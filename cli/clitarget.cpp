#include "cli/clitarget.h"
#include "cli/vexacli.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QUrlQuery>

namespace {

QString checkUdp(const QString &host, int port, LinkSettings *link)
{
    if (!isUdpAddressText(host))
        return VexaCli::tr("无效的UDP地址: %1").arg(host);
    if (port < 1 || port > 65535)
        return VexaCli::tr("无效的UDP端口: %1").arg(port);
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
            return VexaCli::tr("未知的参数: %1").arg(key);
        }
        if (!ok)
            return VexaCli::tr("无效的参数值: %1=%2").arg(key, value);
    }
    return {};
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
    // Indexed by the serial port's parity values; 1 is unused.
    static const QStringList kParityNames { QStringLiteral("none"), QString(), QStringLiteral("even"),
        QStringLiteral("odd"), QStringLiteral("space"), QStringLiteral("mark") };
    const int value = kParityNames.indexOf(text.toLower());
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

QString parseUdpTarget(const QString &text, LinkSettings *link)
{
    static const QRegularExpression kTargetForm(QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:\\[\\]]+)):(\\d{1,5})$"));
    const QRegularExpressionMatch match = kTargetForm.match(text);
    if (!match.hasMatch())
        return VexaCli::tr("UDP目标应为 HOST:PORT: %1").arg(text);
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
                return VexaCli::tr("未知的参数: %1").arg(item.first);
            if (!parseDeviceAddress(item.second, &link->deviceAddress))
                return VexaCli::tr("无效的参数值: %1=%2").arg(item.first, item.second);
        }
        return {};
    }
    if (base.startsWith(QLatin1String("serial:")) && base.size() > 7) {
        link->useUdp = false;
        link->serial.port = base.mid(7);
        return applySerialQuery(query, link);
    }
    return VexaCli::tr("无法识别的目标: %1").arg(uri);
}

QString readTargetsFile(const QString &path, QVector<CliTarget> *targets, bool *fileMissing)
{
    *fileMissing = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *fileMissing = true;
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path);
    }
    static const QRegularExpression kPlainName(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]{0,63}$"));
    QSet<QString> names;
    for (int lineNumber = 1; !file.atEnd(); ++lineNumber) {
        // Whole lines only: the tail of a long one must never be read as a
        // line of its own (a commented-out meter would come back to life).
        QByteArray bytes = file.readLine(kMaxTargetLineBytes + 2);
        const bool ended = bytes.endsWith('\n');
        if (ended)
            bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (lineNumber == 1 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        if (bytes.size() > kMaxTargetLineBytes || (!ended && !file.atEnd()))
            return VexaCli::tr("%1 第%2行: %3")
                .arg(path)
                .arg(lineNumber)
                .arg(VexaCli::tr("一行不能超过%1字节").arg(kMaxTargetLineBytes));
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int comma = line.indexOf(QLatin1Char(','));
        CliTarget target;
        target.name = line.left(comma).trimmed();
        QString error;
        if (comma < 0 || !kPlainName.match(target.name).hasMatch())
            error = VexaCli::tr("名称应为字母、数字、点、横线或下划线");
        else if (names.contains(target.name))
            error = VexaCli::tr("名称%1重复出现").arg(target.name);
        else
            error = parseTargetUri(line.mid(comma + 1).trimmed(), &target.link);
        if (!error.isEmpty())
            return VexaCli::tr("%1 第%2行: %3").arg(path).arg(lineNumber).arg(error);
        names.insert(target.name);
        targets->append(target);
    }
    if (targets->isEmpty())
        return VexaCli::tr("%1 中没有设备").arg(path);
    return {};
}
