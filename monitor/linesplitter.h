#pragma once

#include <QByteArray>
#include <QList>

// Cuts a byte stream into lines at each line feed (kept in the line).
// Bytes after the last line feed wait for the next chunk.
class LineSplitter
{
public:
    // Appends the chunk and returns every line it completes, in order.
    QList<QByteArray> feed(const QByteArray &chunk);
    // Drops a partial line.
    void clear() { m_buffer.clear(); }
    const QByteArray &pending() const { return m_buffer; }

private:
    QByteArray m_buffer;
};
