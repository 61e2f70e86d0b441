#include "bench/udpecho.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int boundSocket()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = 4 * 1024 * 1024;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

sockaddr_in addressOf(int fd)
{
    sockaddr_in address {};
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    return address;
}

} // namespace

UdpEcho::UdpEcho()
{
    m_server = boundSocket();
    m_client = boundSocket();
}

UdpEcho::~UdpEcho()
{
    for (int fd : { m_server, m_client })
        if (fd >= 0)
            ::close(fd);
}

double UdpEcho::run(const std::vector<EchoStep> &steps)
{
    if (!isValid())
        return -1;
    const sockaddr_in server = addressOf(m_server);
    std::thread peer([this, &steps] {
        char buffer[65536];
        for (const EchoStep &step : steps) {
            pollfd pfd { m_server, POLLIN, 0 };
            if (::poll(&pfd, 1, 5000) <= 0)
                return;
            sockaddr_in from {};
            socklen_t fromSize = sizeof from;
            if (::recvfrom(m_server, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromSize) < 0)
                return;
            // Pieces leave at fixed offsets from the request, as the meter's timers send them.
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < step.answer.size(); ++i) {
                if (i > 0 && step.gapMicros > 0)
                    std::this_thread::sleep_until(start + std::chrono::microseconds(qint64(i) * step.gapMicros));
                const QByteArray &piece = step.answer.at(i);
                ::sendto(m_server, piece.constData(), size_t(piece.size()), 0, reinterpret_cast<sockaddr *>(&from),
                    fromSize);
            }
        }
    });

    const double micros = clientLoop(&server, steps);
    peer.join();
    return micros;
}

double UdpEcho::runAgainst(quint16 port, const std::vector<EchoStep> &steps)
{
    if (!isValid())
        return -1;
    sockaddr_in server {};
    server.sin_family = AF_INET;
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    server.sin_port = htons(port);
    return clientLoop(&server, steps);
}

double UdpEcho::clientLoop(const void *serverAddress, const std::vector<EchoStep> &steps)
{
    const sockaddr_in &server = *static_cast<const sockaddr_in *>(serverAddress);
    bool complete = true;
    QElapsedTimer timer;
    timer.start();
    char buffer[65536];
    for (const EchoStep &step : steps) {
        ::sendto(m_client, step.request.constData(), size_t(step.request.size()), 0,
            reinterpret_cast<const sockaddr *>(&server), sizeof server);
        qint64 expected = 0;
        for (const QByteArray &piece : step.answer)
            expected += piece.size();
        while (expected > 0) {
            pollfd pfd { m_client, POLLIN, 0 };
            if (::poll(&pfd, 1, 5000) <= 0) {
                complete = false;
                break;
            }
            const ssize_t got = ::recv(m_client, buffer, sizeof buffer, 0);
            if (got > 0)
                expected -= got;
        }
        if (!complete)
            break;
    }
    const double micros = timer.nsecsElapsed() / 1000.0;
    return complete ? micros : -1;
}
