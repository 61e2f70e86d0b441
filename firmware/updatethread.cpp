#include "firmware/updatethread.h"

#include "firmware/updatesession.h"
#include "items/journal.h"

UpdateThread::UpdateThread(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<LinkFailure>();
}

UpdateThread::~UpdateThread()
{
    wait();
}

void UpdateThread::setInfo(const DEncryptInfo &info)
{
    m_info = info;
}

void UpdateThread::run()
{
    UpdateSteps steps;
    steps.progress = [this](int percent) {
        emit signalUpdateProgress(percent);
    };
    steps.finishing = [this] {
        emit signalFinishing();
    };
    steps.failed = [this](const LinkFailure &failure) {
        emit signalShowErrorMessage(failure.briefText());
        emit signalFailed(QString(), failure);
    };
    Journal journal;
    m_result = runFirmwareUpdate(m_link, m_info, journal, steps);
    if (!m_result.failure.failed())
        emit signalUpdateSucceed();
}
