#include "cli/clihelp.h"

#include <QStringList>
#include <QVector>

namespace {

bool isWide(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3)
        || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60)
        || (u >= 0xFFE0 && u <= 0xFFE6);
}

// Punctuation that must not start a line.
bool closesText(QChar c)
{
    return QStringLiteral("，。、；：！？）」』】,.;:!?)").contains(c);
}

struct Piece
{
    QString text;
    bool blankBefore = false;
};

// Latin words stay whole; each Chinese character may start a line.
QVector<Piece> pieces(const QString &line)
{
    QVector<Piece> result;
    bool blank = false;
    bool open = false; // the last piece takes more Latin characters
    for (const QChar c : line) {
        if (c == QLatin1Char(' ')) {
            blank = true;
            open = false;
            continue;
        }
        if (!result.isEmpty() && !blank && closesText(c)) {
            result.last().text += c;
            open = !isWide(c);
            continue;
        }
        if (isWide(c)) {
            result.append({ QString(c), blank });
            open = false;
        } else if (open && !blank) {
            result.last().text += c;
        } else {
            result.append({ QString(c), blank });
            open = true;
        }
        blank = false;
    }
    return result;
}

QString optionNames(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QStringLiteral(" <%1>").arg(option.valueName());
    return text;
}

} // namespace

namespace CliHelp {

int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += isWide(c) ? 2 : 1;
    return width;
}

QString wrapped(const QString &text, int indent, int width)
{
    const QString margin(indent, QLatin1Char(' '));
    const int room = qMax(20, width - indent);
    QString result;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        int used = 0;
        for (const Piece &piece : pieces(paragraph)) {
            int gap = line.isEmpty() || !piece.blankBefore ? 0 : 1;
            const int size = displayWidth(piece.text);
            if (!line.isEmpty() && used + gap + size > room) {
                result += margin + line + QLatin1Char('\n');
                line.clear();
                used = 0;
                gap = 0;
            }
            if (gap)
                line += QLatin1Char(' ');
            line += piece.text;
            used += gap + size;
        }
        result += (line.isEmpty() ? QString() : margin + line) + QLatin1Char('\n');
    }
    return result;
}

QString options(const QList<QCommandLineOption> &options, int width)
{
    constexpr int kNamesAt = 2;
    constexpr int kLongestNames = 26;
    int column = 0;
    for (const QCommandLineOption &option : options)
        column = qMax(column, qMin(kLongestNames, displayWidth(optionNames(option))));
    column += kNamesAt + 2;
    QString result;
    for (const QCommandLineOption &option : options) {
        const QString names = QString(kNamesAt, QLatin1Char(' ')) + optionNames(option);
        const QString description = wrapped(option.description(), column, width);
        if (displayWidth(names) + 2 > column)
            result += names + QLatin1Char('\n') + description;
        else
            result += names + description.mid(names.size());
    }
    return result;
}

} // namespace CliHelp
