#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

// One way to the meter: a serial port or a UDP socket. The channel's
// exchanges are written once over this; what differs between the two ways
// (the RTS pulse, sliced waits, whose datagram it is, how long a line may be
// quiet inside an answer) is the transport's.
class LinkTransport
{
public:
    virtual ~LinkTransport() = default;

    enum class Sent {
        Ok,
        Refused, // nothing went out (the port is closed, the RTS line or the write failed)
        TimedOut, // it did not go out in time (or the system did not take the datagram)
    };
    // Drops what arrived before (the answer to an earlier request), then sends
    // the request; the writing takes at most timeoutMs.
    virtual Sent send(const QByteArray &request, int timeoutMs) = 0;
    // Waits until something can be read, at most timeoutMs; looks at *stop
    // every few tens of milliseconds and gives up once it is set. True when
    // something can be read.
    virtual bool waitReadable(int timeoutMs, const std::atomic<bool> *stop) = 0;
    virtual bool hasPending() = 0;
    // The next piece of what is there: every byte the port has, or one
    // datagram. A datagram that is not the meter's comes back empty, with
    // *foreign set.
    virtual QByteArray readPiece(bool *foreign) = 0;
    // Drops what can be read now, a bounded amount at a time.
    virtual void discardPending() = 0;
    // What the system said of the last failure of the port or socket; empty
    // for time-outs and when nothing was said.
    virtual QString systemReason() const = 0;

    // How long a line may be quiet inside a begun answer before the answer
    // counts as complete (the caller's check judges it); -1: never, each
    // further piece may take the exchange's whole time-out, and a missing
    // one is a time-out.
    virtual int answerGapMs() const = 0;
    // How long a stream may be quiet before it counts as ended.
    virtual int streamGapMs() const = 0;
};
