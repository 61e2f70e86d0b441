#pragma once

#include "sim/simrequest.h"

#include <QByteArray>
#include <QList>

// Cuts requests out of a byte stream (serial line) or a datagram.
//
// At every position the framer asks whether a complete, CRC-valid frame starts
// there: an address frame (func 03: 8 bytes; func 0F: 7 + L + 2 bytes with L at
// offset 6; CRC low byte first) or a tilde frame (7E ... crcHi crcLo 7F, CRC
// high byte first over 7E..payload). The first position that holds a complete
// frame wins; bytes before it are dropped as garbage. While no complete frame
// exists the bytes are kept (they may be the start of one), up to a limit;
// `flush` drops them (the transports call it after a quiet gap, and for UDP
// after every datagram).
class SimFramer
{
public:
    static constexpr int kMaxPending = 8192;

    // Appends bytes and returns every complete frame now available, in order.
    QList<SimRequest> feed(const QByteArray &bytes);
    // Drops pending bytes; returns them (garbage) for the record.
    QByteArray flush();
    QByteArray pending() const { return m_buffer; }
    // Total garbage bytes dropped so far.
    qint64 droppedBytes() const { return m_dropped; }
    // The dropped bytes since the last call.
    QByteArray takeGarbage();

    // Parses one exact frame; false if `bytes` is not exactly one valid frame.
    static bool parse(const QByteArray &bytes, SimRequest &request);

private:
    enum Status { Invalid, Incomplete, Complete };
    static Status addressFrameAt(const QByteArray &buffer, int pos, int &length);
    static Status tildeFrameAt(const QByteArray &buffer, int pos, int &length);

    void drop(int count);

    QByteArray m_buffer;
    QByteArray m_garbage;
    qint64 m_dropped = 0;
};
