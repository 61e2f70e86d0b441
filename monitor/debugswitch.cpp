#include "monitor/debugswitch.h"

#include "link/devicechannel.h"
#include "link/frame.h"
#include "link/udpwait.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QThread>

namespace {

// How often a wait that can be stopped looks at its stop flag.
constexpr int kStopPollMs = 20;

bool stopRequested(const std::atomic<bool> *stop)
{
    return stop && stop->load();
}

// Waits for serial data in short slices so a stop is noticed; a port that
// fails at once (unplugged) must not turn this into a busy loop.
bool waitSerialData(QSerialPort &port, int timeoutMs, const std::atomic<bool> *stop)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (port.bytesAvailable() > 0)
            return true;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0 || stopRequested(stop))
            return false;
        const int slice = int(qMin<qint64>(left, 100));
        QElapsedTimer waited;
        waited.start();
        if (port.waitForReadyRead(slice))
            return true;
        if (port.bytesAvailable() == 0 && waited.elapsed() < slice)
            QThread::msleep(ulong(slice - waited.elapsed()));
    }
}

void splitAnswer(const QByteArray &buffer, quint8 address, SwitchExchange &exchange)
{
    int length = 0;
    const int start = locateResponse(buffer, address, &length);
    if (start < 0) {
        exchange.response = buffer;
        return;
    }
    exchange.response = buffer.mid(start, length);
    exchange.trailing = buffer.mid(start + length);
}

SwitchExchange exchangeSerial(
    DeviceChannel &channel, const QByteArray &request, int timeoutMs, const std::atomic<bool> *stop)
{
    SwitchExchange exchange;
    QSerialPort &port = channel.serialPort();
    if (channel.sendRts()) {
        if (!port.setRequestToSend(false)) {
            exchange.result = LinkSendError;
            return exchange;
        }
        waitWithEventLoop(100);
        if (!port.setRequestToSend(true)) {
            exchange.result = LinkSendError;
            return exchange;
        }
        waitWithEventLoop(100);
    }
    port.clear();
    if (port.write(request) < request.size() || !port.waitForBytesWritten(timeoutMs)) {
        exchange.result = LinkSendError;
        return exchange;
    }
    QElapsedTimer total;
    total.start();
    if (!waitSerialData(port, timeoutMs, stop)) {
        exchange.result = stopRequested(stop) ? SwitchExchange::Aborted : LinkReceiveTimeout;
        return exchange;
    }
    QByteArray buffer = port.readAll();
    int length = 0;
    while (locateResponse(buffer, channel.deviceAddress(), &length) < 0) {
        if (stopRequested(stop)) {
            exchange.result = SwitchExchange::Aborted;
            return exchange;
        }
        // A line that never pauses must not hold the exchange forever.
        if (total.elapsed() > timeoutMs) {
            exchange.result = LinkReceiveTimeout;
            exchange.response = buffer;
            return exchange;
        }
        if (!waitSerialData(port, 500, stop) && !stopRequested(stop))
            break; // quiet: the caller's CRC check reports it
        buffer += port.readAll();
    }
    exchange.result = LinkOk;
    splitAnswer(buffer, channel.deviceAddress(), exchange);
    return exchange;
}

SwitchExchange exchangeUdp(
    DeviceChannel &channel, const QByteArray &request, int timeoutMs, const std::atomic<bool> *stop)
{
    SwitchExchange exchange;
    QUdpSocket &socket = channel.udpSocket();
    if (socket.writeDatagram(request, channel.hostAddress(), channel.port()) <= 0) {
        exchange.result = LinkSendError;
        return exchange;
    }
    QElapsedTimer total;
    total.start();
    QByteArray buffer;
    int length = 0;
    for (;;) {
        // No pass waits beyond the whole exchange's time-out; datagrams from
        // other senders are dropped without ending the wait. The wait wakes up
        // as soon as a datagram lands; a stop is still seen within a poll's time.
        QByteArray chunk;
        while (chunk.isEmpty()) {
            if (socket.hasPendingDatagrams()) {
                chunk = takeDeviceDatagrams(channel);
                continue;
            }
            if (stopRequested(stop)) {
                exchange.result = SwitchExchange::Aborted;
                return exchange;
            }
            if (!sleepUntilReadable(socket, total, timeoutMs, stop ? kStopPollMs : -1)) {
                exchange.result = LinkReceiveTimeout;
                exchange.response = buffer;
                return exchange;
            }
        }
        buffer += chunk;
        if (locateResponse(buffer, channel.deviceAddress(), &length) >= 0)
            break;
    }
    exchange.result = LinkOk;
    splitAnswer(buffer, channel.deviceAddress(), exchange);
    return exchange;
}

} // namespace

QByteArray buildDebugSwitchFrame(quint8 deviceAddress, bool on)
{
    return buildItemWriteFrame(deviceAddress, 255, on ? QStringLiteral("1") : QStringLiteral("0"));
}

int locateResponse(const QByteArray &buffer, quint8 deviceAddress, int *frameLength)
{
    if (isCompleteResponse(buffer, deviceAddress, false)) {
        *frameLength = buffer.size();
        return 0;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(buffer.constData());
    const int size = buffer.size();
    for (int start = 0; start + 5 <= size; ++start) {
        // Inside other traffic only a well-formed answer counts: address, 03, length, CRC.
        if (bytes[start] != deviceAddress || bytes[start + 1] != 0x03)
            continue;
        const int length = bytes[start + 2] + 5;
        if (start + length <= size && checkFrameCrc(bytes + start, length, false)) {
            *frameLength = length;
            return start;
        }
    }
    *frameLength = 0;
    return -1;
}

QByteArray takeDeviceDatagrams(DeviceChannel &channel)
{
    QUdpSocket &socket = channel.udpSocket();
    QByteArray chunk;
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram();
        if (!datagram.isValid())
            break;
        if (channel.isFromDevice(datagram.senderAddress(), quint16(datagram.senderPort())))
            chunk += datagram.data();
    }
    return chunk;
}

SwitchExchange exchangeSwitch(
    DeviceChannel &channel, const QByteArray &request, int timeoutMs, const std::atomic<bool> *stop)
{
    if (channel.isUdp())
        return exchangeUdp(channel, request, timeoutMs, stop);
    return exchangeSerial(channel, request, timeoutMs, stop);
}
