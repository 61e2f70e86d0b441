#include "bench/serialpacer.h"

#include <QByteArray>

#include <cerrno>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

void makeRaw(int fd)
{
    termios tio {};
    if (tcgetattr(fd, &tio) != 0)
        return;
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
}

qint64 nowNanos()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// One direction of the line: bytes waiting, each with the moment its stop
// bit ends.
struct Direction
{
    int from = -1;
    int to = -1;
    std::atomic<qint64> *count = nullptr;
    std::deque<std::pair<qint64, char>> pending;
    qint64 lineFreeAt = 0;
    qint64 lastDeliveredAt = 0; // when the queue last ran empty, 0 once answered

    // Returns when the first bytes arrived (for the turnaround), or 0.
    qint64 take(double nanosPerByte)
    {
        qint64 first = 0;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(from, buffer, sizeof buffer);
            if (got <= 0)
                return first;
            const qint64 now = nowNanos();
            if (!first)
                first = now;
            // A quiet line starts the next byte now; a busy one queues it.
            qint64 at = qMax(now, lineFreeAt);
            for (ssize_t i = 0; i < got; ++i) {
                at += qint64(nanosPerByte);
                pending.emplace_back(at, buffer[i]);
            }
            lineFreeAt = at;
        }
    }

    void deliverDue()
    {
        const qint64 now = nowNanos();
        QByteArray out;
        while (!pending.empty() && pending.front().first <= now) {
            out.append(pending.front().second);
            pending.pop_front();
        }
        if (out.isEmpty())
            return;
        if (pending.empty())
            lastDeliveredAt = now;
        const char *data = out.constData();
        qint64 left = out.size();
        while (left > 0) {
            const ssize_t written = ::write(to, data, size_t(left));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN) {
                    pollfd pfd { to, POLLOUT, 0 };
                    ::poll(&pfd, 1, 10);
                    continue;
                }
                return;
            }
            data += written;
            left -= written;
        }
        *count += out.size();
    }

    qint64 nextDue() const { return pending.empty() ? -1 : pending.front().first; }
};

} // namespace

SerialPacer::SerialPacer(const QString &meterPtyPath, int baudRate, int bitsPerByte)
    : m_nanosPerByte(1e9 * bitsPerByte / baudRate)
{
    m_meter = ::open(meterPtyPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_meter < 0)
        return;
    makeRaw(m_meter);
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = -1;
        return;
    }
    makeRaw(m_master);
    makeRaw(m_slave);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_programPath = QString::fromLocal8Bit(name);
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_thread = std::thread([this] { run(); });
}

SerialPacer::~SerialPacer()
{
    m_stop = true;
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : { m_meter, m_master, m_slave, m_wake[0], m_wake[1] })
        if (fd >= 0)
            ::close(fd);
}

void SerialPacer::resetCounts()
{
    m_up = 0;
    m_down = 0;
    m_meterNanos = 0;
    m_programNanos = 0;
}

double SerialPacer::wireMicros(qint64 bytes) const
{
    return bytes * m_nanosPerByte / 1000.0;
}

void SerialPacer::run()
{
    Direction up { m_master, m_meter, &m_up, {}, 0 };
    Direction down { m_meter, m_master, &m_down, {}, 0 };
    while (!m_stop) {
        pollfd fds[3] = { { m_master, POLLIN, 0 }, { m_meter, POLLIN, 0 }, { m_wake[0], POLLIN, 0 } };
        qint64 due = -1;
        for (qint64 d : { up.nextDue(), down.nextDue() })
            if (d >= 0 && (due < 0 || d < due))
                due = d;
        timespec wait {};
        timespec *waitPtr = nullptr;
        if (due >= 0) {
            const qint64 left = qMax<qint64>(0, due - nowNanos());
            wait.tv_sec = time_t(left / 1000000000);
            wait.tv_nsec = long(left % 1000000000);
            waitPtr = &wait;
        } else {
            wait.tv_sec = 0;
            wait.tv_nsec = 50 * 1000000;
            waitPtr = &wait;
        }
        ::ppoll(fds, 3, waitPtr, nullptr);
        if (fds[0].revents & POLLIN) {
            const qint64 asked = up.take(m_nanosPerByte);
            if (asked && down.lastDeliveredAt && down.pending.empty()) {
                if (asked - down.lastDeliveredAt < 1000000000)
                    m_programNanos += asked - down.lastDeliveredAt;
                down.lastDeliveredAt = 0;
            }
        }
        if (fds[1].revents & POLLIN) {
            const qint64 answered = down.take(m_nanosPerByte);
            if (answered && up.lastDeliveredAt && up.pending.empty()) {
                m_meterNanos += answered - up.lastDeliveredAt;
                up.lastDeliveredAt = 0;
            }
        }
        up.deliverDue();
        down.deliverDue();
    }
}
