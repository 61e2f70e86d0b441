#include "base/backgroundjob.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <memory>

BackgroundJob::BackgroundJob(QWidget *window)
    : m_progress(window)
{
    m_progress.setWindowModality(Qt::WindowModal);
    m_progress.setAutoReset(false);
    m_progress.setAutoClose(false);
    m_progress.setMinimumDuration(0);
    // Busy until the work names a range.
    m_progress.setRange(0, 0);
    // Closing the dialog also emits canceled: only a Cancel while the work runs counts.
    QObject::connect(&m_progress, &QProgressDialog::canceled, &m_receiver, [this] {
        if (m_running)
            m_stop = true;
    });
}

BackgroundJob::~BackgroundJob() = default;

void BackgroundJob::post(std::function<void()> step)
{
    QMetaObject::invokeMethod(&m_receiver, std::move(step), Qt::QueuedConnection);
}

void BackgroundJob::run(const std::function<void()> &work)
{
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create(work));
    // Queued to this thread after every step the work posted before it ended.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    if (m_progress.minimumDuration() == 0)
        m_progress.show();
    m_running = true;
    worker->start();
    loop.exec();
    worker->wait();
    QCoreApplication::sendPostedEvents(&m_receiver);
    m_running = false;
    // reset() also stops the dialog's own timer, which would show it again.
    m_progress.reset();
    m_progress.close();
}
