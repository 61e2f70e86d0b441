#include "history/readthread.h"

#include "history/historysession.h"
#include "link/devicechannel.h"

ReadThread::ReadThread(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<LinkFailure>();
}

ReadThread::~ReadThread()
{
    // Never destroy a running thread: let the exchange notice the flag.
    stop();
    wait();
}

bool ReadThread::startQuery(const QByteArray &request)
{
    if (isRunning())
        return false;
    m_request = request;
    m_stop.store(false);
    start(QThread::InheritPriority);
    return true;
}

void ReadThread::stop()
{
    m_stop.store(true);
}

void ReadThread::run()
{
    m_failure = LinkFailure();
    DeviceChannel channel;
    if (!channel.open(m_link)) {
        m_failure = channel.openFailure();
        emit signalShowError(tr("查询"), m_failure.briefText());
        emit signalFailed(tr("查询"), m_failure);
        return;
    }
    emit signalClearText();
    m_failure = HistorySession(channel).read(
        m_request, [this](const QString &text) { emit signalAddText(text); }, &m_stop,
        [this](const QString &error) { emit signalShowError(tr("查询"), error); });
    if (m_failure.failed())
        emit signalFailed(tr("查询"), m_failure);
}
