#include "link/udpwait.h"

#include <QThread>
#include <QUdpSocket>

bool sleepUntilReadable(QUdpSocket &socket, const QElapsedTimer &timer, int timeoutMs, int sliceMs)
{
    // The time-out ends once more than timeoutMs have passed, as a poll loop
    // would see it; waiting on the socket just wakes up as soon as a datagram
    // lands instead of at the next poll.
    const qint64 left = qint64(timeoutMs) - timer.elapsed();
    if (left < 0)
        return false;
    int waitMs = int(left) + 1;
    if (sliceMs >= 0)
        waitMs = qMin(waitMs, sliceMs);
    if (socket.state() != QAbstractSocket::BoundState) {
        QThread::msleep(ulong(waitMs));
        return true;
    }
    if (socket.waitForReadyRead(waitMs) && !socket.hasPendingDatagrams()) {
        // Readable without a datagram (a socket error was consumed): do not spin.
        QThread::msleep(1);
    }
    return true;
}
