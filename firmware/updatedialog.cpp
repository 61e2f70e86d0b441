#include "firmware/updatedialog.h"

#include "base/filedialogs.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "makersite/makersite.h"
#include "link/commsettings.h"
#include "ui_updatedialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

UpdateDialog::UpdateDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::UpdateDialog>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/update.png")));
    setFixedSize(size());

    connect(&m_updateThread, &UpdateThread::signalFailed, this,
        [this](const QString &, const LinkFailure &failure) { showUpdateFailure(failure); });
    connect(&m_deviceTypeMgr, &DeviceTypeMgr::signalShowErrorMessage, this, &UpdateDialog::slotShowErrorMessage);
    connect(&m_downloadThread, &DownloadThread::signalShowErrorMessage, this, &UpdateDialog::slotShowErrorMessage);

    connect(ui->bntSelectFile, &QPushButton::clicked, this, &UpdateDialog::slotSelectFile);
    connect(ui->bntUpdate, &QPushButton::clicked, this, &UpdateDialog::slotUpdate);
    connect(&m_updateThread, &QThread::started, this, &UpdateDialog::soltStartUpdate);
    connect(&m_updateThread, &QThread::finished, this, &UpdateDialog::soltStopUpdate);

    connect(ui->bntRefresh, &QPushButton::clicked, this, [this] {
        if (!m_deviceTypeMgr.isRunning())
            refreshFileList();
    });
    connect(&m_deviceTypeMgr, &QThread::started, this, &UpdateDialog::slotStartRefreshFile);
    connect(&m_deviceTypeMgr, &QThread::finished, this, &UpdateDialog::slotStopRefreshFile);
    connect(&m_deviceTypeMgr, &DeviceTypeMgr::signalFinished, this, &UpdateDialog::slotFinishedRefreshFile);

    connect(ui->bntSelectPath, &QPushButton::clicked, this, &UpdateDialog::slotSelectPath);
    connect(ui->bntDownload, &QPushButton::clicked, this, &UpdateDialog::slotStartDownloadThread);
    connect(&m_downloadThread, &QThread::started, this, &UpdateDialog::slotStartDownloadFile);
    connect(&m_downloadThread, &QThread::finished, this, &UpdateDialog::slotStopDownloadFile);

    connect(&m_updateThread, &UpdateThread::signalUpdateProgress, this, &UpdateDialog::slotSetUpdateProgress);
    connect(
        &m_downloadThread, &DownloadThread::signalSetDownloadProgress, this, &UpdateDialog::slotSetDownloadProgress);
    connect(&m_updateThread, &UpdateThread::signalUpdateSucceed, this, &UpdateDialog::slotUpdateSucceed);
    // The finish requests may each wait out the time-out: say so on the bar.
    connect(&m_updateThread, &UpdateThread::signalFinishing, this, [this] {
        ui->barUpdate->setFormat(tr("正在结束更新…"));
        ui->barUpdate->setTextVisible(true);
    });
    connect(&m_downloadThread, &DownloadThread::signalDownloadSucceed, this, &UpdateDialog::slotDownloadSucceed);

    ui->barUpdate->setRange(0, 100);
    ui->barUpdate->setValue(0);
    ui->barDownload->setRange(0, 100);
    ui->barDownload->setValue(0);
    ui->bntUpdate->setEnabled(false);
    // Downloads go where packages are picked from, unless the user says otherwise.
    QDir().mkpath(packageFolder());
    setDownloadFolder(packageFolder());
}

UpdateDialog::~UpdateDialog()
{
    m_downloadThread.stop();
    m_deviceTypeMgr.stop();
    m_updateThread.wait();
}

void UpdateDialog::enableDownloadControls(bool enabled)
{
    ui->bntSelectPath->setEnabled(enabled);
    ui->bntDownload->setEnabled(enabled);
    ui->bntRefresh->setEnabled(enabled);
    ui->cmbFileList->setEnabled(enabled);
}

QString UpdateDialog::packageFolder()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Files"));
}

void UpdateDialog::selectPackage(const QString &path)
{
    ui->edFilePath->setText(path);
    ui->edFilePath->setToolTip(path);

    DEncryptInfo info;
    info.setFilePath(path);
    QString error;
    {
        DDbServer server { QString::fromLatin1(kPackageConnectionName) };
        error = server.parseFile(info);
    }
    if (!error.isEmpty()) {
        ui->edDevice->clear();
        ui->edType->clear();
        ui->edVersion->clear();
        ui->bntUpdate->setEnabled(false);
        return;
    }
    ui->edDevice->setText(info.device());
    ui->edType->setText(info.model());
    ui->edVersion->setText(info.version());
    ui->bntUpdate->setEnabled(true);
}

void UpdateDialog::startUpdate(const QString &path)
{
    if (m_updateThread.isRunning())
        return;
    if (path.isEmpty()) {
        showCriticalBox(tr("请选择文件!"), this);
        return;
    }
    if (!QFileInfo(path).isFile()) {
        showCriticalBox(tr("更新失败,文件不存在或拒绝访问!"), this);
        return;
    }
    // Parsed again: the file may have changed since it was picked.
    DEncryptInfo info;
    info.setFilePath(path);
    QString error;
    {
        DDbServer server { QString::fromLatin1(kPackageConnectionName) };
        error = server.parseFile(info);
    }
    if (!error.isEmpty()) {
        showCriticalBox(error, this);
        return;
    }
    // Erasing the instrument for nothing would leave it without firmware.
    if (info.image().isEmpty()) {
        showCriticalBox(tr("固件更新失败,文件中没有固件数据!"), this);
        return;
    }
    // The connection named in the question is the one flashed.
    const LinkSettings link = storedLinkSettings();
    if (!confirmUpdate(info, link))
        return;
    m_updateThread.setInfo(info);
    m_updateThread.setLinkSettings(link);
    m_updateThread.start(QThread::InheritPriority);
}

bool UpdateDialog::confirmUpdate(const DEncryptInfo &info, const LinkSettings &link)
{
    // Flashing cannot be taken back: name what goes where before it starts.
    const QString text = tr("确认烧写以下固件？\n设备：%1\n版本：%2\n型号：%3\n连接：%4")
                             .arg(info.device(), info.version(), info.model(), link.targetText());
    return askQuestion(text, tr("烧写"), tr("取消"), this);
}

void UpdateDialog::showUpdateFailure(const LinkFailure &failure)
{
    if (failure.kind != LinkFailure::Kind::ImageIncomplete) {
        slotShowErrorMessage(failure.text());
        return;
    }
    const bool again = askQuestion(
        failure.text() + QLatin1Char('\n') + firmwareNeedsNewUpdateText(), tr("重新开始"), tr("关闭"), this);
    // The package and connection of the failed run are still the worker's.
    if (again && m_updateThread.isRunning())
        m_restartPending = true;
    else if (again)
        m_updateThread.start(QThread::InheritPriority);
}

void UpdateDialog::refreshFileList()
{
    if (m_deviceTypeMgr.isRunning())
        return;
    m_deviceTypeMgr.setPageUrl(downloadPageUrl());
    m_deviceTypeMgr.setVerifyPeer(verifyMakerPeer());
    m_deviceTypeMgr.startFetch();
}

void UpdateDialog::setDownloadFolder(const QString &folder)
{
    ui->edDownloadDir->setText(folder);
}

void UpdateDialog::startDownload(const QString &link, const QString &folder)
{
    if (m_downloadThread.isRunning())
        return;
    if (link.isEmpty()) {
        showCriticalBox(tr("请选择设备类型!"), this);
        return;
    }
    if (folder.isEmpty()) {
        showCriticalBox(tr("请选择下载路径!"), this);
        return;
    }
    const QString target = DownloadThread::targetPath(link, folder);
    if (!target.isEmpty() && QFileInfo::exists(target) && !askReplace(QFileInfo(target).fileName()))
        return;
    m_downloadThread.setVerifyPeer(verifyMakerPeer());
    m_downloadTarget = target;
    m_downloadThread.startDownload(link, folder);
}

bool UpdateDialog::askReplace(const QString &name)
{
    QMessageBox box(QMessageBox::Question, windowTitle(), tr("文件 %1 已存在,是否替换?").arg(name),
        QMessageBox::Yes | QMessageBox::No, this, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Yes)->setText(tr("替换"));
    box.button(QMessageBox::No)->setText(tr("取消"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void UpdateDialog::slotSelectFile()
{
    QDir().mkpath(packageFolder());
    selectPackage(askOpenFileNameIn(this, tr("更新固件"), packageFolder(), tr("Files (*.vexabin)")));
}

void UpdateDialog::slotUpdate()
{
    startUpdate(ui->edFilePath->text());
}

void UpdateDialog::soltStartUpdate()
{
    ui->bntSelectFile->setEnabled(false);
    ui->bntDownload->setEnabled(false);
    ui->bntUpdate->setEnabled(false);
}

void UpdateDialog::soltStopUpdate()
{
    ui->barUpdate->setTextVisible(false);
    ui->barUpdate->resetFormat();
    ui->bntSelectFile->setEnabled(true);
    ui->bntDownload->setEnabled(true);
    ui->bntUpdate->setEnabled(true);
    if (m_restartPending) {
        m_restartPending = false;
        m_updateThread.start(QThread::InheritPriority);
    }
}

void UpdateDialog::slotSetUpdateProgress(int value)
{
    ui->barUpdate->setValue(value);
}

void UpdateDialog::slotUpdateSucceed()
{
    const FirmwareUpdateResult result = m_updateThread.result();
    QString text = tr("固件更新成功!") + QLatin1Char('\n') + result.afterUpdateText();
    if (!result.journalError.isEmpty())
        text += QLatin1Char('\n') + result.journalError;
    showInformationBox(text, this);
    ui->barUpdate->setValue(0);
}

void UpdateDialog::slotStartRefreshFile()
{
    ui->cmbFileList->clear();
    enableDownloadControls(false);
}

void UpdateDialog::slotStopRefreshFile()
{
    enableDownloadControls(true);
}

void UpdateDialog::slotFinishedRefreshFile()
{
    const QMap<QString, QString> list = m_deviceTypeMgr.packageList();
    for (auto it = list.constBegin(); it != list.constEnd(); ++it)
        ui->cmbFileList->addItem(it.key(), it.value());
}

void UpdateDialog::slotSelectPath()
{
    QDir().mkpath(packageFolder());
    // A cancelled choice keeps the folder shown.
    const QString folder = askFolderIn(this, tr("下载文件"), packageFolder());
    if (!folder.isEmpty())
        setDownloadFolder(folder);
}

void UpdateDialog::slotStartDownloadThread()
{
    startDownload(ui->cmbFileList->currentData().toString(), ui->edDownloadDir->text());
}

void UpdateDialog::slotStartDownloadFile()
{
    enableDownloadControls(false);
}

void UpdateDialog::slotStopDownloadFile()
{
    enableDownloadControls(true);
}

void UpdateDialog::slotSetDownloadProgress(int value)
{
    ui->barDownload->setValue(value);
}

void UpdateDialog::slotDownloadSucceed()
{
    SavedFileNotice::announce(m_downloadTarget, tr("文件下载成功!"));
    showInformationBox(tr("文件下载成功!"), this);
    ui->barDownload->setValue(0);
    // What was just downloaded is most likely what is to be flashed next.
    if (!m_updateThread.isRunning() && QFileInfo(m_downloadTarget).isFile())
        selectPackage(m_downloadTarget);
}

void UpdateDialog::slotShowErrorMessage(const QString &error)
{
    showCriticalBox(error, this);
}

bool UpdateDialog::prepareClose()
{
    if (m_updateThread.isRunning()) {
        showCriticalBox(tr("正在更新固件,请等待更新完成!"), this);
        return false;
    }
    m_downloadThread.stop();
    m_deviceTypeMgr.stop();
    return true;
}

void UpdateDialog::reject()
{
    if (prepareClose())
        QDialog::reject();
}

void UpdateDialog::closeEvent(QCloseEvent *event)
{
    if (!prepareClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
