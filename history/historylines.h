#pragma once

#include "monitor/linesplitter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Cuts the history answer into text. The answer is unframed GB2312; a line
// ends with 0x0A (a CR before it stays part of the line). A line that grows
// past the splitter's cap is handed on in pieces, each ended by a line feed
// of its own. Whole lines only are decoded, so a character split across two
// pieces still decodes correctly.
class HistoryLines
{
public:
    // A piece with more text than this comes out in several batches.
    static constexpr int kMaxBatchChars = 256 * 1024;

    // The whole lines a piece completes, together (each with its line end),
    // in as few batches as the cap allows.
    QStringList feed(const QByteArray &piece);
    // The last line, which no line feed ended; empty when there is none.
    QString takeRest();

private:
    LineSplitter m_splitter;
};
