#include "base/metertext.h"

namespace {

bool isControl(QChar c)
{
    const ushort code = c.unicode();
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

bool isLineEndAt(const QString &text, int i)
{
    const QChar c = text.at(i);
    return c == QLatin1Char('\n')
        || (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'));
}

} // namespace

QString withoutControlCharacters(const QString &text, bool keepLineEnds)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const bool lineEnd = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if (!isControl(c) || c == QLatin1Char('\t') || (keepLineEnds && lineEnd))
            kept.append(c);
    }
    return kept;
}

QString spreadsheetSafe(const QString &text)
{
    if (text.isEmpty())
        return text;
    const QChar first = text.at(0);
    for (const char trigger : { '=', '+', '-', '@', '\t', '\r' }) {
        if (first == QLatin1Char(trigger))
            return QLatin1Char('\'') + text;
    }
    return text;
}

QString escapedControlCharacters(const QString &text, bool keepLineEnds)
{
    QString shown;
    shown.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isControl(c) || c == QLatin1Char('\t') || (keepLineEnds && isLineEndAt(text, i))) {
            shown.append(c);
            continue;
        }
        switch (c.unicode()) {
        case '\n':
            shown.append(QLatin1String("\\n"));
            break;
        case '\r':
            shown.append(QLatin1String("\\r"));
            break;
        default:
            if (c.unicode() < 0x80)
                shown.append(QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')));
            else
                shown.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
        }
    }
    return shown;
}
