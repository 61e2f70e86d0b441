#include "monitor/linesplitter.h"

namespace {

// Where to cut `bytes` so that no two-byte GB2312 character is split: a
// trailing run of high bytes that starts on a character boundary (after an
// ASCII byte or at the line start) ends inside a character when it is odd.
int characterSafeCut(const QByteArray &bytes, int at)
{
    int highRun = 0;
    while (highRun < at && static_cast<quint8>(bytes.at(at - 1 - highRun)) >= 0x80)
        ++highRun;
    return (highRun % 2 == 1 && at > 1) ? at - 1 : at;
}

} // namespace

LineSplitter::LineSplitter(int maxLineBytes)
    : m_maxLineBytes(qMax(2, maxLineBytes))
{
}

QList<QByteArray> LineSplitter::feed(const QByteArray &chunk)
{
    QList<QByteArray> lines;
    int from = 0;
    while (from < chunk.size()) {
        const int feed = chunk.indexOf('\n', from);
        const int end = feed < 0 ? chunk.size() : feed + 1;
        // Never take more than fills the buffer up to the cap.
        const int take = qMin(end - from, m_maxLineBytes - m_buffer.size());
        m_buffer.append(chunk.constData() + from, take);
        from += take;
        if (m_buffer.endsWith('\n')) {
            lines.append(m_buffer);
            m_buffer.clear();
        } else if (m_buffer.size() >= m_maxLineBytes) {
            cutFull(lines);
        }
    }
    return lines;
}

void LineSplitter::cutFull(QList<QByteArray> &lines)
{
    const int cut = characterSafeCut(m_buffer, m_buffer.size());
    lines.append(m_buffer.left(cut));
    m_buffer.remove(0, cut);
}
