#include "monitor/monitorthread.h"

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
    m_controls.stop = false;
    m_controls.outbox.take();
    QThread::start();
}

void MonitorThread::stop()
{
    if (!isRunning())
        return;
    m_controls.stop = true;
    m_controls.wake = true;
    if (QThread::currentThread() != this)
        wait();
}

bool MonitorThread::send(const QByteArray &bytes)
{
    if (!m_controls.outbox.put(bytes))
        return false;
    m_controls.wake = true;
    return true;
}

void MonitorThread::run()
{
    MonitorEvents events;
    events.connected = [this] {
        emit signalConnected();
    };
    events.line = [this](const QByteArray &line) {
        emit signalDataRecv(line);
    };
    events.failed = [this](const QString &title, const LinkFailure &failure) {
        m_failure = failure;
        emit signalShowError(title, failure.briefText());
        emit signalFailed(title, failure);
    };
    events.lost = [this] {
        emit signalLinkLost();
    };
    events.back = [this] {
        emit signalLinkBack();
    };
    events.sent = [this](const QByteArray &bytes) {
        emit signalSent(bytes);
    };
    events.sendRefused = [this](const QString &reason) {
        emit signalSendRefused(reason);
    };
    m_failure = LinkFailure();
    MonitorSession session(m_link, m_debug, m_switchTimeoutMs, m_controls, events);
    session.setReconnect(m_reconnect);
    session.run();
}
