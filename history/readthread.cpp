#include "history/readthread.h"

#include "link/devicechannel.h"
#include "link/frame.h"

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
    // pieces still decodes correctly. A line cut at the cap gets a line end
    // of its own, so the next piece starts a line of its own in the view.
    // The lines of one piece go out together: one queued signal for many
    // lines, however fast the meter talks.
    const QList<QByteArray> lines = m_splitter.feed(data);
    QString batch;
    for (const QByteArray &line : lines) {
        batch += decodeGb2312(line);
        if (LineSplitter::isCut(line))
            batch += QLatin1Char('\n');
        if (batch.size() >= kMaxBatchChars) {
            emit signalAddText(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        emit signalAddText(batch);
}

void ReadThread::flushLine()
{
    if (m_splitter.pending().isEmpty())
        return;
    emit signalAddText(decodeGb2312(m_splitter.pending()));
    m_splitter.clear();
}

void ReadThread::run()
{
    m_splitter.clear();
    m_failure = LinkFailure();
    DeviceChannel channel;
    if (!channel.open(m_link)) {
        m_failure = channel.openFailure();
        emit signalShowError(tr("查询"), m_failure.briefText());
        emit signalFailed(tr("查询"), m_failure);
        return;
    }
    emit signalClearText();
    // The channel tells the failure's text through onReceiveError.
    m_failure = channel.transactStream(m_request, this);
    if (m_failure.failed())
        emit signalFailed(tr("查询"), m_failure);
    flushLine();
}
