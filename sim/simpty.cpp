#include "sim/simpty.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

SimPty::SimPty(QObject *parent)
    : QObject(parent)
{
}

SimPty::~SimPty()
{
    close();
}

bool SimPty::open(QString *error)
{
    close();
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Raw both ways: no echo, no line editing, no CR/LF translation.
    termios mode {};
    if (::tcgetattr(slave, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(slave, TCSANOW, &mode);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimPty::onReadable);
    return true;
}

void SimPty::close()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater(); // may be inside its own activated()
        m_notifier = nullptr;
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

bool SimPty::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd waiter { m_master, POLLOUT, 0 };
            if (::poll(&waiter, 1, 2000) <= 0)
                return false; // nobody drains the line
            continue;
        }
        return false;
    }
    return true;
}

void SimPty::onReadable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            emit received(QByteArray(buffer, static_cast<int>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained. EIO cannot happen while our own slave descriptor is open.
        break;
    }
}
