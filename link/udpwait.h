#pragma once

#include <QElapsedTimer>

class QUdpSocket;

// Blocks until a datagram can be read from `socket` or the rest of timeoutMs,
// counted by `timer`, has passed; returns false, without waiting, once more
// than timeoutMs had already passed. With sliceMs >= 0 one call waits at most
// that long, so a caller can look at its stop flag in between.
// A socket that never sent is not bound and cannot receive: the call just sleeps.
bool sleepUntilReadable(QUdpSocket &socket, const QElapsedTimer &timer, int timeoutMs, int sliceMs = -1);
