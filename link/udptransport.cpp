#include "link/udptransport.h"

#include "link/udpwait.h"

#include <QElapsedTimer>

#include <cstring>

namespace {

// How often a wait that can be stopped looks at its stop flag.
constexpr int kStopPollMs = 20;

} // namespace

UdpTransport::UdpTransport(const QHostAddress &host, quint16 port)
    : m_host(host)
    , m_port(port)
{
}

LinkTransport::Sent UdpTransport::send(const QByteArray &request, int)
{
    discardPending();
    // The system would deliver a datagram for the null address to this very
    // machine; without a configured meter there is nobody to send to.
    if (m_host.isNull())
        return Sent::TimedOut;
    return m_socket.writeDatagram(request, m_host, m_port) > 0 ? Sent::Ok : Sent::TimedOut;
}

bool UdpTransport::waitReadable(int timeoutMs, const std::atomic<bool> *stop)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (hasPending())
            return true;
        if (stop && stop->load())
            return false;
        if (!sleepUntilReadable(m_socket, timer, timeoutMs, stop ? kStopPollMs : -1))
            return hasPending();
    }
}

bool UdpTransport::hasPending()
{
    // Nothing can be pending before the first send binds the socket.
    return m_socket.state() == QAbstractSocket::BoundState && m_socket.hasPendingDatagrams();
}

QByteArray UdpTransport::readPiece(bool *foreign)
{
    const qint64 size = m_socket.pendingDatagramSize();
    QByteArray datagram(int(qMax<qint64>(size, 0)), Qt::Uninitialized);
    QHostAddress sender;
    quint16 senderPort = 0;
    const qint64 read = m_socket.readDatagram(datagram.data(), datagram.size(), &sender, &senderPort);
    *foreign = read < 0 || !isFromDevice(sender, senderPort);
    if (*foreign)
        return QByteArray();
    datagram.resize(int(read));
    return datagram;
}

void UdpTransport::discardPending()
{
    // Bounded: a line that floods must not hold the exchange here.
    char sink = 0;
    for (int i = 0; i < kMaxDiscardedDatagrams && hasPending(); ++i) {
        if (m_socket.readDatagram(&sink, 1) < 0)
            break;
    }
}

QString UdpTransport::systemReason() const
{
    const QAbstractSocket::SocketError error = m_socket.error();
    if (error != QAbstractSocket::UnknownSocketError && error != QAbstractSocket::SocketTimeoutError)
        return m_socket.errorString();
    return QString();
}

bool UdpTransport::isFromDevice(const QHostAddress &sender, quint16 senderPort) const
{
    if (senderPort != m_port || m_host.isNull() || sender.isNull())
        return false;
    if (sender == m_host)
        return true;
    bool senderIsIpv4 = false;
    bool hostIsIpv4 = false;
    const quint32 senderIpv4 = sender.toIPv4Address(&senderIsIpv4);
    const quint32 hostIpv4 = m_host.toIPv4Address(&hostIsIpv4);
    if (senderIsIpv4 && hostIsIpv4 && senderIpv4 == hostIpv4)
        return true;
    const Q_IPV6ADDR senderIpv6 = sender.toIPv6Address();
    const Q_IPV6ADDR hostIpv6 = m_host.toIPv6Address();
    if (std::memcmp(senderIpv6.c, hostIpv6.c, sizeof senderIpv6.c) == 0)
        return true;
    return sender.protocol() == m_host.protocol() && sender.toString() == m_host.toString();
}
