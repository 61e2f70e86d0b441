#pragma once

#include "link/linktransport.h"

#include <QHostAddress>
#include <QUdpSocket>

// The meter behind a UDP port. Only the meter's own datagrams count: those
// of any other sender are read and dropped.
class UdpTransport : public LinkTransport
{
public:
    static constexpr int kStreamQuietMs = 1000;
    // Datagrams dropped in one go: under a flood the caller still gets to
    // look at its clock and stop flag between passes.
    static constexpr int kMaxDiscardedDatagrams = 256;

    UdpTransport(const QHostAddress &host, quint16 port);

    // A datagram the system did not take counts as one not sent in time.
    Sent send(const QByteArray &request, int timeoutMs) override;
    bool waitReadable(int timeoutMs, const std::atomic<bool> *stop) override;
    bool hasPending() override;
    QByteArray readPiece(bool *foreign) override;
    void discardPending() override;
    QString systemReason() const override;
    int answerGapMs() const override { return -1; }
    int streamGapMs() const override { return kStreamQuietMs; }

    // Whether a datagram's sender is the meter: same port, and the same
    // address also across the IPv4 / IPv4-mapped IPv6 forms. Never true for
    // a null host address.
    bool isFromDevice(const QHostAddress &sender, quint16 senderPort) const;

private:
    QHostAddress m_host;
    quint16 m_port;
    QUdpSocket m_socket;
};
