#include "firmware/updatethread.h"

#include "firmware/updatesession.h"
#include "link/devicechannel.h"

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
    DeviceChannel channel;
    m_failure = UpdateSession(channel).update(m_link, m_info, steps);
    if (!m_failure.failed())
        emit signalUpdateSucceed();
}
