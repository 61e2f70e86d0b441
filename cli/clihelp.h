#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// Help text for a terminal of 80 columns: Chinese characters take two
// columns, lines break between words or between Chinese characters.
namespace CliHelp {

constexpr int kColumns = 80;

// The columns the text takes on a terminal.
int displayWidth(const QString &text);

// The text wrapped to width - indent columns, each line indented by indent
// blanks and ended by a line break; paragraphs (line breaks) are kept.
QString wrapped(const QString &text, int indent, int width = kColumns);

// The options in two columns (names and value, then the description).
QString options(const QList<QCommandLineOption> &options, int width = kColumns);

} // namespace CliHelp
