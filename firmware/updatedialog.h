#pragma once

#include "makersite/devicetypemgr.h"
#include "makersite/downloadthread.h"
#include "firmware/updatethread.h"

#include <QDialog>

#include <memory>

namespace Ui {
class UpdateDialog;
}
class DEncryptInfo;
class QCloseEvent;

// Writes a firmware package into the instrument (upper half) and fetches and
// downloads packages from the maker's site (lower half).
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget *parent = nullptr);
    // Stops the list fetch and the download and waits for every worker.
    ~UpdateDialog() override;

    // "Files" in the working directory, where packages are picked and kept.
    static QString packageFolder();

    UpdateThread &updateThread() { return m_updateThread; }
    DeviceTypeMgr &deviceTypeMgr() { return m_deviceTypeMgr; }
    DownloadThread &downloadThread() { return m_downloadThread; }

public slots:
    void slotSelectFile();
    void slotUpdate();
    void soltStartUpdate();
    void soltStopUpdate();
    void slotSetUpdateProgress(int value);
    void slotUpdateSucceed();
    void slotStartRefreshFile();
    void slotStopRefreshFile();
    void slotFinishedRefreshFile();
    void slotSelectPath();
    void slotStartDownloadThread();
    void slotStartDownloadFile();
    void slotStopDownloadFile();
    void slotSetDownloadProgress(int value);
    void slotDownloadSucceed();
    void slotShowErrorMessage(const QString &error);

    // Esc closes a dialog without a close event; it gets the same guard.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void enableDownloadControls(bool enabled);
    // The work behind the slots, with the user's choices as arguments.
    void selectPackage(const QString &path);
    void startUpdate(const QString &path);
    void refreshFileList();
    void setDownloadFolder(const QString &folder);
    void startDownload(const QString &link, const QString &folder);
    // False (after telling the user) while the update runs; otherwise stops
    // the list fetch and the download so nothing runs on after the close.
    bool prepareClose();
    // Asks before flashing, naming the package and the connection.
    bool confirmUpdate(const DEncryptInfo &info, const LinkSettings &link);
    // Whether a download may replace the file of that name (default: no).
    bool askReplace(const QString &name);
    // The error box; after a refused page (the meter is erased, and there is
    // no page retry) a question offering to run the whole update again.
    void showUpdateFailure(const LinkFailure &failure);

    const std::unique_ptr<Ui::UpdateDialog> ui;
    UpdateThread m_updateThread;
    DeviceTypeMgr m_deviceTypeMgr;
    DownloadThread m_downloadThread;
    // The file the running or last download writes.
    QString m_downloadTarget;
    // The user asked for the whole update again while the failed run was ending.
    bool m_restartPending = false;
};
