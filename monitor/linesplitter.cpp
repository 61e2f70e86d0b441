#include "monitor/linesplitter.h"

QList<QByteArray> LineSplitter::feed(const QByteArray &chunk)
{
    QList<QByteArray> lines;
    int from = 0;
    for (;;) {
        const int feed = chunk.indexOf('\n', from);
        if (feed < 0)
            break;
        m_buffer.append(chunk.constData() + from, feed + 1 - from);
        lines.append(m_buffer);
        m_buffer.clear();
        from = feed + 1;
    }
    if (from < chunk.size())
        m_buffer.append(chunk.constData() + from, chunk.size() - from);
    return lines;
}
