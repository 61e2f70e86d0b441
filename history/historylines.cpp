#include "history/historylines.h"

#include "link/frame.h"

QStringList HistoryLines::feed(const QByteArray &piece)
{
    // The lines of one piece go out together: one batch for many lines,
    // however fast the meter talks.
    QStringList batches;
    QString batch;
    for (const QByteArray &line : m_splitter.feed(piece)) {
        batch += decodeGb2312(line);
        if (LineSplitter::isCut(line))
            batch += QLatin1Char('\n');
        if (batch.size() >= kMaxBatchChars) {
            batches << batch;
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        batches << batch;
    return batches;
}

QString HistoryLines::takeRest()
{
    const QString rest = decodeGb2312(m_splitter.pending());
    m_splitter.clear();
    return rest;
}
