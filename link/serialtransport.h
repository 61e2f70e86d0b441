#pragma once

#include "link/commsettings.h"
#include "link/linktransport.h"

#include <QSerialPort>

// The meter on a serial line. The port is held exclusively while open; with
// sendRts every request is preceded by a pulse of the RTS line.
class SerialTransport : public LinkTransport
{
public:
    static constexpr int kRtsSettleMs = 100;
    static constexpr int kQuietMs = 500;

    // Opens the port and applies the line settings; false when it did not open.
    bool open(const SerialSettings &serial);

    Sent send(const QByteArray &request, int timeoutMs) override;
    bool waitReadable(int timeoutMs, const std::atomic<bool> *stop) override;
    bool hasPending() override;
    QByteArray readPiece(bool *foreign) override;
    void discardPending() override;
    QString systemReason() const override;
    int answerGapMs() const override { return kQuietMs; }
    int streamGapMs() const override { return kQuietMs; }

    // For tests: the port as opened.
    const QSerialPort &port() const { return m_port; }

private:
    bool pulseRts();

    QSerialPort m_port;
    bool m_sendRts = false;
};

// Waits while the calling thread keeps processing its events.
void waitWithEventLoop(int milliseconds);
