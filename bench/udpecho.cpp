#include "bench/udpecho.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
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

// The first two CPUs this process may run on (-1 where there is none).
std::pair<int, int> twoCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    std::pair<int, int> cpus { -1, -1 };
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &set))
            continue;
        if (cpus.first < 0)
            cpus.first = cpu;
        else {
            cpus.second = cpu;
            break;
        }
    }
    return cpus;
}

void pinTo(int cpu)
{
    if (cpu < 0)
        return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    pthread_setaffinity_np(pthread_self(), sizeof set, &set);
}

// Waits for a datagram: blocking in poll, or spinning on a non-blocking read.
ssize_t receive(int fd, char *buffer, size_t size, sockaddr_in *from, bool busy)
{
    socklen_t fromSize = sizeof(sockaddr_in);
    if (!busy) {
        pollfd pfd { fd, POLLIN, 0 };
        if (::poll(&pfd, 1, 5000) <= 0)
            return -1;
        return ::recvfrom(fd, buffer, size, 0, reinterpret_cast<sockaddr *>(from), &fromSize);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        const ssize_t got = ::recvfrom(fd, buffer, size, MSG_DONTWAIT, reinterpret_cast<sockaddr *>(from), &fromSize);
        if (got >= 0)
            return got;
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
    }
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

double UdpEcho::run(const std::vector<EchoStep> &steps, EchoPlacement placement)
{
    if (!isValid())
        return -1;
    const auto cpus = twoCpus();
    if (placement == EchoPlacement::ApartBusy && cpus.second < 0)
        return -1;
    const bool busy = placement == EchoPlacement::ApartBusy;
    cpu_set_t previous;
    CPU_ZERO(&previous);
    const bool pinned = placement != EchoPlacement::Unpinned
        && pthread_getaffinity_np(pthread_self(), sizeof previous, &previous) == 0;
    if (pinned)
        pinTo(cpus.first);

    const sockaddr_in server = addressOf(m_server);
    std::atomic<bool> ready { false };
    std::thread peer([&] {
        if (placement == EchoPlacement::SameCpu)
            pinTo(cpus.first);
        else if (placement == EchoPlacement::ApartBusy)
            pinTo(cpus.second);
        ready = true;
        char buffer[65536];
        for (const EchoStep &step : steps) {
            sockaddr_in from {};
            if (receive(m_server, buffer, sizeof buffer, &from, busy) < 0)
                return;
            // Pieces leave at fixed offsets from the request, as the meter's timers send them.
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < step.answer.size(); ++i) {
                if (i > 0 && step.gapMicros > 0)
                    std::this_thread::sleep_until(start + std::chrono::microseconds(qint64(i) * step.gapMicros));
                const QByteArray &piece = step.answer.at(i);
                ::sendto(m_server, piece.constData(), size_t(piece.size()), 0, reinterpret_cast<sockaddr *>(&from),
                    sizeof from);
            }
        }
    });
    // The peer is up and placed before the clock starts.
    while (!ready)
        std::this_thread::yield();

    const double micros = clientLoop(&server, steps, busy);
    peer.join();
    if (pinned)
        pthread_setaffinity_np(pthread_self(), sizeof previous, &previous);
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
    return clientLoop(&server, steps, false);
}

EchoFloor UdpEcho::floor(const std::vector<EchoStep> &steps, int runs)
{
    EchoFloor best;
    UdpEcho echo;
    const std::pair<EchoPlacement, const char *> placements[] = {
        { EchoPlacement::Unpinned, "unpinned" },
        { EchoPlacement::SameCpu, "both ends on one CPU" },
        { EchoPlacement::ApartBusy, "two CPUs, busy polling" },
    };
    for (const auto &placement : placements) {
        for (int i = 0; i < runs; ++i) {
            const double micros = echo.run(steps, placement.first);
            if (micros > 0 && (best.micros < 0 || micros < best.micros)) {
                best.micros = micros;
                best.placement = QLatin1String(placement.second);
            }
        }
    }
    return best;
}

double UdpEcho::clientLoop(const void *serverAddress, const std::vector<EchoStep> &steps, bool busy)
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
            sockaddr_in from {};
            const ssize_t got = receive(m_client, buffer, sizeof buffer, &from, busy);
            if (got < 0) {
                complete = false;
                break;
            }
            expected -= got;
        }
        if (!complete)
            break;
    }
    const double micros = timer.nsecsElapsed() / 1000.0;
    return complete ? micros : -1;
}
