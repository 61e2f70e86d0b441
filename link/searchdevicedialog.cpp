#include "link/searchdevicedialog.h"

#include "base/messageboxes.h"

#include "ui_searchdevicedialog.h"

#include <QListWidgetItem>

SearchDeviceDialog::SearchDeviceDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SearchDeviceDialog>())
    , m_worker(this)
{
    ui->setupUi(this);
    qRegisterMetaType<QHostAddress>("QHostAddress");
    // No close button: Cancel and Escape end a running search first.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/search.png")));
    setFixedSize(size());

    connect(ui->bntOk, &QPushButton::clicked, this, &SearchDeviceDialog::slotCommit);
    connect(ui->bntCancel, &QPushButton::clicked, this, &SearchDeviceDialog::reject);
    connect(ui->bntSearch, &QPushButton::clicked, this, &SearchDeviceDialog::slotSearchDevice);
    connect(&m_worker, &DSearchDeviceThread::signalSetEnableButtons, this, &SearchDeviceDialog::slotSetEnableButtons);
    connect(&m_worker, &DSearchDeviceThread::signalInsertDevice, this, &SearchDeviceDialog::slotInsertDevice);
    connect(ui->listWidget, &QListWidget::itemDoubleClicked, this, &SearchDeviceDialog::slotItemDoubleClicked);
}

SearchDeviceDialog::~SearchDeviceDialog()
{
    // The worker is a member; it must not outlive this body while running.
    m_worker.requestStop();
    m_worker.wait();
}

void SearchDeviceDialog::done(int result)
{
    // During a search, Cancel and Escape stop it and keep what was listed.
    if (m_worker.isRunning()) {
        stopSearch();
        return;
    }
    QDialog::done(result);
}

void SearchDeviceDialog::stopSearch()
{
    m_worker.requestStop();
    // The worker looks at its flag every kPollMs; the bound is only a guard.
    m_worker.wait(1000);
}

void SearchDeviceDialog::slotCommit()
{
    commit(ui->listWidget->currentItem());
}

void SearchDeviceDialog::slotSearchDevice()
{
    m_worker.startSearch();
}

void SearchDeviceDialog::slotSetEnableButtons(bool enable)
{
    ui->bntSearch->setEnabled(enable);
    ui->bntOk->setEnabled(enable);
    ui->listWidget->setEnabled(enable);
    if (!enable) {
        m_devices.clear();
        ui->listWidget->clear();
    }
}

void SearchDeviceDialog::slotInsertDevice(const QString &content, const QHostAddress &hostAddress, quint16 hostPort)
{
    // The meter's own words first, then where it answered from: meters that
    // describe themselves alike are told apart by their address.
    auto *item = new QListWidgetItem(
        QStringLiteral("%1  (%2:%3)").arg(content, DSearchDeviceThread::senderText(hostAddress)).arg(hostPort),
        ui->listWidget);
    m_devices.insert(item, qMakePair(hostAddress, hostPort));
}

void SearchDeviceDialog::slotItemDoubleClicked(QListWidgetItem *item)
{
    commit(item);
}

void SearchDeviceDialog::commit(QListWidgetItem *item)
{
    const auto found = m_devices.constFind(item);
    if (item == nullptr || found == m_devices.cend()) {
        showCriticalBox(QObject::tr("请选择设备"), this);
        return;
    }
    m_selectedAddress = found->first;
    m_selectedPort = found->second;
    accept();
}
