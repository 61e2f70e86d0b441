#include "monitor/monitorsession.h"

#include "link/devicechannel.h"
#include "link/serialportnames.h"
#include "monitor/debugswitch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

namespace {

// How often a wait for the port to come back looks at the stop flag.
constexpr int kStopPollMs = 20;
// A send on a line that does not take it (flow held) must not hold the monitor.
constexpr int kWriteSlackMs = 1000;

} // namespace

MonitorSession::MonitorSession(
    const LinkSettings &link, bool debug, int switchTimeoutMs, MonitorControls &controls, const MonitorEvents &events)
    : m_link(link)
    , m_debug(debug)
    , m_switchTimeoutMs(switchTimeoutMs)
    , m_controls(controls)
    , m_events(events)
{
    m_sinceBytes.start();
}

MonitorSession::~MonitorSession() = default;

void MonitorSession::run()
{
    m_failure = LinkFailure();
    auto channel = std::make_unique<DeviceChannel>();
    if (!channel->open(m_link)) {
        fail(QCoreApplication::translate("MonitorThread", "设备监听"), channel->openFailure());
        return;
    }
    // Taken now, while the device is there to be recognised.
    if (!m_link.useUdp)
        m_byIdPath = serialByIdPath(m_link.serial.port);

    // A debug-off run still sends "0": the instrument may have been left talking.
    const SwitchResult opened = sendDebugSwitch(*channel, m_debug, true);
    if (opened == SwitchFailed)
        return;
    if (opened == SwitchAborted || stopped()) {
        if (m_debug)
            sendDebugSwitch(*channel, false, false);
        return;
    }
    if (m_events.connected)
        m_events.connected();

    // An idle pass lasts about 100 ms, which bounds how late a stop or a send is seen.
    while (!stopped()) {
        m_controls.wake = false;
        sendQueued(channel.get());
        channel->listen(&m_controls.wake, [this](const QByteArray &bytes) { receive(bytes); });
        cutAtPause();
        if (!channel->isLost())
            continue;
        // What came before the port went is a line of its own.
        const QByteArray partial = m_splitter.takePending();
        if (!partial.isEmpty())
            m_events.line(partial);
        if (!m_reconnect) {
            fail(QCoreApplication::translate("MonitorThread", "设备监听"),
                channel->failure(LinkFailure::Kind::Other, QCoreApplication::translate("MonitorThread", "连接已断开")));
            return;
        }
        channel.reset();
        if (m_events.lost)
            m_events.lost();
        channel = reopen();
        if (!channel)
            return;
        if (m_events.back)
            m_events.back();
    }

    if (m_debug)
        sendDebugSwitch(*channel, false, false);
}

std::unique_ptr<DeviceChannel> MonitorSession::reopen()
{
    for (;;) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kReconnectPollMs) {
            if (stopped())
                return nullptr;
            sendQueued(nullptr);
            QThread::msleep(kStopPollMs);
        }
        // The stable name first: the same adapter may come back under another device name.
        QList<LinkSettings> candidates;
        if (!m_byIdPath.isEmpty() && QFileInfo::exists(m_byIdPath)) {
            LinkSettings byId = m_link;
            byId.serial.port = m_byIdPath;
            candidates << byId;
        }
        candidates << m_link;
        for (const LinkSettings &candidate : qAsConst(candidates)) {
            if (stopped())
                return nullptr;
            std::unique_ptr<DeviceChannel> channel = openAgain(candidate);
            if (channel)
                return channel;
        }
    }
}

std::unique_ptr<DeviceChannel> MonitorSession::openAgain(const LinkSettings &link)
{
    auto channel = std::make_unique<DeviceChannel>();
    if (!channel->open(link))
        return nullptr;
    // A new UDP socket is known to the meter only once it has sent something.
    if (!m_debug && !link.useUdp)
        return channel;
    switch (sendDebugSwitch(*channel, m_debug, true, false)) {
    case SwitchOk:
        return channel;
    case SwitchFailed:
        return nullptr;
    case SwitchAborted:
        break;
    }
    if (m_debug)
        sendDebugSwitch(*channel, false, false);
    return nullptr;
}

MonitorSession::SwitchResult MonitorSession::sendDebugSwitch(
    DeviceChannel &channel, bool on, bool abortOnStop, bool report)
{
    m_splitter.clear();
    const QByteArray request = buildDebugSwitchFrame(channel.deviceAddress(), on);
    const SwitchExchange exchange
        = exchangeSwitch(channel, request, m_switchTimeoutMs, abortOnStop ? &m_controls.stop : nullptr);
    if (exchange.result == LinkStopped)
        return SwitchAborted;
    const LinkFailure failure = channel.exchangeFailure(exchange.result, exchange.response);
    if (failure.failed()) {
        if (report)
            fail(QCoreApplication::translate("MonitorThread", "监听调试"), failure);
        return SwitchFailed;
    }
    // What follows the answer at once is already the instrument's output.
    if (abortOnStop)
        receive(exchange.trailing);
    return SwitchOk;
}

void MonitorSession::receive(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    // A pause before these bytes ends the partial line.
    cutAtPause();
    m_sinceBytes.restart();
    emitLines(m_splitter.feed(bytes));
}

void MonitorSession::cutAtPause()
{
    const int pauseMs = m_controls.pauseMs;
    if (pauseMs > 0 && !m_splitter.pending().isEmpty() && m_sinceBytes.elapsed() >= pauseMs)
        m_events.line(m_splitter.takePending());
}

void MonitorSession::emitLines(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        m_events.line(line);
}

void MonitorSession::sendQueued(DeviceChannel *channel)
{
    const QList<QByteArray> queued = m_controls.outbox.take();
    for (const QByteArray &bytes : queued) {
        if (!channel || channel->isLost()) {
            if (m_events.sendRefused)
                m_events.sendRefused(QCoreApplication::translate("MonitorThread", "未连接，无法发送"));
            continue;
        }
        const LinkResult result = channel->sendWhileListening(bytes, writeTimeoutMs(bytes.size()));
        if (result == LinkOk) {
            if (m_events.sent)
                m_events.sent(bytes);
        } else if (m_events.sendRefused) {
            m_events.sendRefused(linkErrorText(result, {}));
        }
    }
}

int MonitorSession::writeTimeoutMs(int byteCount) const
{
    if (m_link.useUdp || m_link.serial.baudRate <= 0)
        return kWriteSlackMs;
    // Eleven bits a byte at most: start, eight data, parity, stop.
    return kWriteSlackMs + int(qint64(byteCount) * 11 * 1000 / m_link.serial.baudRate);
}

void MonitorSession::fail(const QString &title, const LinkFailure &failure)
{
    m_failure = failure;
    if (m_events.failed)
        m_events.failed(title, failure);
}
