#pragma once

#include <QByteArray>
#include <QList>

// Cuts a byte stream into lines at each line feed (kept in the line).
// Bytes after the last line feed wait for the next chunk, but never more
// than the cap: a peer that never sends a line feed must not grow the
// buffer without bound. At the cap the bytes so far go out as a line of
// their own, without a line feed (which is how a cut line is recognised).
class LineSplitter
{
public:
    // 64 KiB: far beyond any line a meter writes, small enough to keep.
    static constexpr int kDefaultMaxLineBytes = 64 * 1024;

    explicit LineSplitter(int maxLineBytes = kDefaultMaxLineBytes);

    // Appends the chunk and returns every line it completes, in order.
    QList<QByteArray> feed(const QByteArray &chunk);
    // Drops a partial line.
    void clear() { m_buffer.clear(); }
    const QByteArray &pending() const { return m_buffer; }
    // Hands out the partial line (a line cut at a pause of the line).
    QByteArray takePending()
    {
        const QByteArray pending = m_buffer;
        m_buffer.clear();
        return pending;
    }
    int maxLineBytes() const { return m_maxLineBytes; }

    // A line handed out at the cap rather than at a line feed.
    static bool isCut(const QByteArray &line) { return !line.endsWith('\n'); }

private:
    void cutFull(QList<QByteArray> &lines);

    int m_maxLineBytes;
    QByteArray m_buffer;
};
