#include "monitor/monitorline.h"

#include "link/frame.h"

#include <QCoreApplication>

namespace {

const QString &lineBreak()
{
    static const QString kLineBreak = QStringLiteral("\r\n");
    return kLineBreak;
}

QString cleanedText(const QByteArray &line)
{
    QString text = decodeGb2312(line).trimmed();
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The first `count` bytes, one byte fewer when that would end inside a
// two-byte character.
QByteArray shownStart(const QByteArray &line, int count)
{
    int highRun = 0;
    while (highRun < count && static_cast<quint8>(line.at(count - 1 - highRun)) >= 0x80)
        ++highRun;
    return line.left(highRun % 2 == 1 && count > 1 ? count - 1 : count);
}

} // namespace

QString monitorPrefix(const QDateTime &time, int byteCount)
{
    return QStringLiteral("%1[%2] : ").arg(time.toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz]"))).arg(byteCount);
}

QString formatMonitorLine(const QByteArray &line, MonitorMode mode, const QDateTime &time)
{
    switch (mode) {
    case MonitorMode::Original:
        return decodeGb2312(line);
    case MonitorMode::Hex:
        return monitorPrefix(time, line.size()) + hexDump(line) + lineBreak();
    case MonitorMode::OriginalHex:
        break;
    }
    return monitorPrefix(time, line.size()) + cleanedText(line) + QStringLiteral(" ( ") + hexDump(line)
        + QStringLiteral(" )") + lineBreak();
}

QString formatShownLine(const QByteArray &line, const MonitorLineFormat &format, const QDateTime &time)
{
    if (format.timestamps && format.mode == MonitorMode::Original) {
        MonitorLineFormat plain = format;
        plain.timestamps = false;
        return time.toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz] ")) + formatShownLine(line, plain, time);
    }
    const bool clipped = format.maxShownBytes >= 0 && line.size() > format.maxShownBytes;
    if (!clipped && line.endsWith('\n'))
        return formatMonitorLine(line, format.mode, time);
    const QByteArray shown = clipped ? shownStart(line, format.maxShownBytes) : line;
    const QString note = clipped ? format.clippedNote.arg(line.size()) : QString();
    switch (format.mode) {
    case MonitorMode::Original:
        return decodeGb2312(shown) + note + QLatin1Char('\n');
    case MonitorMode::Hex:
        return monitorPrefix(time, line.size()) + hexDump(shown) + note + lineBreak();
    case MonitorMode::OriginalHex:
        break;
    }
    return monitorPrefix(time, line.size()) + cleanedText(shown) + QStringLiteral(" ( ") + hexDump(shown)
        + QStringLiteral(" )") + note + lineBreak();
}

QString clipShownText(const QString &text, int maxChars, const QString &clippedNote)
{
    if (text.size() <= maxChars)
        return text;
    int keep = maxChars;
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    QString shown = text.left(keep) + clippedNote.arg(text.size());
    if (text.endsWith(QLatin1Char('\n')))
        shown += QLatin1Char('\n');
    return shown;
}

QString monitorLinkMarker(bool lost, const QDateTime &time)
{
    const QString clock = time.toString(QStringLiteral("hh:mm:ss"));
    return (lost ? QCoreApplication::translate("MonitorThread", "—— 连接已断开 %1 ——").arg(clock)
                 : QCoreApplication::translate("MonitorThread", "—— 已重新连接 %1 ——").arg(clock))
        + QLatin1Char('\n');
}

QString monitorSentLine(const QByteArray &bytes, const MonitorLineFormat &format, const QDateTime &time)
{
    QString text = QStringLiteral("→ ") + formatShownLine(bytes, format, time);
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text;
}
