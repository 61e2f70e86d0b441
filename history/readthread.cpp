#include "history/readthread.h"

#include "link/devicechannel.h"
#include "link/frame.h"

ReadThread::ReadThread(QObject *parent)
    : QThread(parent)
{
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

bool ReadThread::isStopped()
{
    return m_stop.load();
}

void ReadThread::onReceiveError(const QString error)
{
    if (!error.isEmpty())
        emit signalShowError(tr("查询"), error);
}

void ReadThread::onReceiveData(const QByteArray data)
{
    // Decode whole lines only, so a GB2312 character split across two
    // pieces still decodes correctly.
    int from = 0;
    for (;;) {
        const int newline = data.indexOf('\n', from);
        if (newline < 0) {
            m_lineBuffer.append(data.constData() + from, data.size() - from);
            return;
        }
        m_lineBuffer.append(data.constData() + from, newline + 1 - from);
        emit signalAddText(decodeGb2312(m_lineBuffer));
        m_lineBuffer.clear();
        from = newline + 1;
    }
}

void ReadThread::flushLine()
{
    if (m_lineBuffer.isEmpty())
        return;
    emit signalAddText(decodeGb2312(m_lineBuffer));
    m_lineBuffer.clear();
}

void ReadThread::run()
{
    m_lineBuffer.clear();
    DeviceChannel channel;
    if (!(m_link ? channel.open(*m_link) : channel.open())) {
        emit signalShowError(tr("查询"), channel.errorText());
        return;
    }
    emit signalClearText();
    channel.transactStream(m_request, this);
    flushLine();
}
