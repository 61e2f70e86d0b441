#include "tests/support/ptypair.h"

#include <QElapsedTimer>

#include <cerrno>
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

} // namespace

PtyPair::PtyPair()
{
    char name[256] = {};
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    makeRaw(master);
    makeRaw(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyPair::writeMaster(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_master, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd pfd { m_master, POLLOUT, 0 };
                ::poll(&pfd, 1, 100);
                continue;
            }
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

QByteArray PtyPair::readMaster(int count, int timeoutMs)
{
    QByteArray result;
    if (m_master < 0)
        return result;
    QElapsedTimer timer;
    timer.start();
    while (count <= 0 || result.size() < count) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            break;
        pollfd pfd { m_master, POLLIN, 0 };
        const int ready = ::poll(&pfd, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[4096];
        const size_t want = count > 0 ? size_t(qMin<int>(count - result.size(), int(sizeof buffer))) : sizeof buffer;
        const ssize_t got = ::read(m_master, buffer, want);
        if (got > 0)
            result.append(buffer, int(got));
        else if (got < 0 && errno != EAGAIN && errno != EINTR)
            break;
    }
    return result;
}

void PtyPair::drainMaster()
{
    if (m_master < 0)
        return;
    char buffer[4096];
    while (::read(m_master, buffer, sizeof buffer) > 0) { }
}
