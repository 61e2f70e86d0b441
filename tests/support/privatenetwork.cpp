#include "tests/support/privatenetwork.h"

#include <cerrno>
#include <cstring>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

QString enterPrivateNetwork()
{
    if (::unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("unshare(CLONE_NEWNET): %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return QStringLiteral("socket: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    ifreq request {};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    QString error;
    if (::ioctl(fd, SIOCGIFFLAGS, &request) != 0)
        error = QStringLiteral("SIOCGIFFLAGS lo: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    request.ifr_flags |= IFF_UP;
    if (error.isEmpty() && ::ioctl(fd, SIOCSIFFLAGS, &request) != 0)
        error = QStringLiteral("SIOCSIFFLAGS lo: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    return error;
}
