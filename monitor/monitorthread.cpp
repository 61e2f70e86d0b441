#include "monitor/monitorthread.h"

#include "link/devicechannel.h"
#include "link/frame.h"
#include "monitor/debugswitch.h"

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
    if (!channel.open(m_link)) {
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

    // An idle pass lasts about 100 ms, which bounds how late a stop is seen.
    do {
        channel.listen(&m_stop, [this](const QByteArray &bytes) { splitAndEmit(bytes); });
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
