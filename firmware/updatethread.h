#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include "firmware/dencryptinfo.h"
#include "firmware/firmwareupdate.h"

#include <QThread>

// Runs one firmware update (runFirmwareUpdate, journaled in journal.csv) on
// a thread of its own: writes a package's image into the instrument. Cannot
// be cancelled; every exchange is bounded by the session's time-out.
class UpdateThread : public QThread
{
    Q_OBJECT

public:
    explicit UpdateThread(QObject *parent = nullptr);
    // Waits for a running update: a QThread must not die while it runs.
    ~UpdateThread() override;

    // Only while the thread is not running.
    void setInfo(const DEncryptInfo &info);

    // The connection of the next runs, taken by whoever starts them; set while not running.
    void setLinkSettings(const LinkSettings &link) { m_link = link; }
    // What ended the last run without success, once it has finished.
    LinkFailure failure() const { return m_result.failure; }
    // The whole outcome of the last run, once it has finished (read from
    // the finished or succeeded signal's slot).
    FirmwareUpdateResult result() const { return m_result; }

signals:
    void signalUpdateSucceed();
    void signalShowErrorMessage(const QString &error);
    // Each failure as a value, right after its text above (no title: the
    // dialog's own).
    void signalFailed(const QString &title, const LinkFailure &failure);
    void signalUpdateProgress(int value);
    // The finish requests go out now; a rebooting meter may not answer them.
    void signalFinishing();

protected:
    void run() override;

private:
    DEncryptInfo m_info;
    LinkSettings m_link; // written only while not running
    FirmwareUpdateResult m_result; // written only by the run
};
