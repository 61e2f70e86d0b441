#include "monitor/monitorthread.h"

#include "link/devicechannel.h"
#include "link/frame.h"
#include "link/udpwait.h"
#include "monitor/debugswitch.h"

#include <QElapsedTimer>

namespace {

// An idle read pass lasts about this long; it bounds how late a stop is seen.
constexpr int kPassMs = 100;
constexpr int kStopPollMs = 20;
constexpr int kSerialGapMs = 50;

} // namespace

MonitorThread::MonitorThread(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<LinkFailure>();
}

MonitorThread::~MonitorThread()
{
    stop();
}

void MonitorThread::start()
{
    if (isRunning())
        return;
    m_stop = false;
    QThread::start();
}

void MonitorThread::stop()
{
    if (!isRunning())
        return;
    m_stop = true;
    if (QThread::currentThread() != this)
        wait();
}

void MonitorThread::run()
{
    const bool debugRun = m_debug;
    m_failure = LinkFailure();
    DeviceChannel channel;
    if (!(m_link ? channel.open(*m_link) : channel.open())) {
        fail(tr("设备监听"), channel.openFailure());
        return;
    }

    // A debug-off run still sends "0": the instrument may have been left talking.
    const SwitchResult opened = sendDebugSwitch(channel, debugRun, true);
    if (opened == SwitchFailed)
        return;
    if (opened == SwitchAborted || m_stop) {
        if (debugRun)
            sendDebugSwitch(channel, false, false);
        return;
    }

    do {
        if (channel.isUdp())
            readUdpPass(channel);
        else
            readSerialPass(channel);
    } while (!m_stop);

    if (debugRun)
        sendDebugSwitch(channel, false, false);
}

MonitorThread::SwitchResult MonitorThread::sendDebugSwitch(DeviceChannel &channel, bool on, bool abortOnStop)
{
    m_splitter.clear();
    const QByteArray request = buildDebugSwitchFrame(channel.deviceAddress(), on);
    const SwitchExchange exchange
        = exchangeSwitch(channel, request, m_switchTimeoutMs, abortOnStop ? &m_stop : nullptr);
    if (exchange.result == LinkStopped)
        return SwitchAborted;
    const LinkFailure failure = channel.exchangeFailure(exchange.result, exchange.response);
    if (failure.failed()) {
        fail(tr("监听调试"), failure);
        return SwitchFailed;
    }
    // What follows the answer at once is already the instrument's output.
    if (abortOnStop)
        splitAndEmit(exchange.trailing);
    return SwitchOk;
}

void MonitorThread::readUdpPass(DeviceChannel &channel)
{
    QUdpSocket &socket = channel.udpSocket();
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (socket.hasPendingDatagrams()) {
            splitAndEmit(takeDeviceDatagrams(channel));
            return;
        }
        // Wakes up as soon as a datagram lands; a stop is still seen within
        // kStopPollMs, as between the polls this replaces.
        if (m_stop || !sleepUntilReadable(socket, timer, kPassMs, kStopPollMs))
            return;
    }
}

void MonitorThread::readSerialPass(DeviceChannel &channel)
{
    QSerialPort &port = channel.serialPort();
    QElapsedTimer timer;
    timer.start();
    if (!port.waitForReadyRead(kPassMs) && port.bytesAvailable() == 0) {
        // A port that fails at once (unplugged) must not spin.
        const qint64 left = kPassMs - timer.elapsed();
        if (left > 0)
            QThread::msleep(ulong(left));
        return;
    }
    // Lines are handed on piece by piece, so a stream without pauses still shows live.
    do {
        splitAndEmit(port.readAll());
    } while (!m_stop && (port.waitForReadyRead(kSerialGapMs) || port.bytesAvailable() > 0));
}

void MonitorThread::fail(const QString &title, const LinkFailure &failure)
{
    m_failure = failure;
    emit signalShowError(title, failure.briefText());
    emit signalFailed(title, failure);
}

void MonitorThread::splitAndEmit(const QByteArray &chunk)
{
    const QList<QByteArray> lines = m_splitter.feed(chunk);
    for (const QByteArray &line : lines)
        emit signalDataRecv(line);
}
