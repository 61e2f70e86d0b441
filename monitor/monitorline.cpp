#include "monitor/monitorline.h"

#include "link/frame.h"

QString monitorPrefix(const QDateTime &time, int byteCount)
{
    return QStringLiteral("%1[%2] : ").arg(time.toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz]"))).arg(byteCount);
}

QString formatMonitorLine(const QByteArray &line, MonitorMode mode, const QDateTime &time)
{
    static const QString lineBreak = QStringLiteral("\r\n");
    switch (mode) {
    case MonitorMode::Original:
        return decodeGb2312(line);
    case MonitorMode::Hex:
        return monitorPrefix(time, line.size()) + hexDump(line) + lineBreak;
    case MonitorMode::OriginalHex:
        break;
    }
    QString text = decodeGb2312(line).trimmed();
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return monitorPrefix(time, line.size()) + text + QStringLiteral(" ( ") + hexDump(line) + QStringLiteral(" )")
        + lineBreak;
}
