#include "monitor/monitordialog.h"

#include "app/resourcesinit.h"
#include "link/linkerrorcontext.h"
#include "ui_monitordialog.h"

#include <QMessageBox>
#include <QScrollBar>

MonitorDialog::MonitorDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::MonitorDialog)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    vexaInitResources();
    ui->setupUi(this);
    setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/monitor.png")));

    connect(ui->bntStop, &QPushButton::pressed, &m_thread, &MonitorThread::stop);
    connect(ui->bntClear, &QPushButton::pressed, this, &MonitorDialog::slotClearText);
    connect(ui->bntStart, &QPushButton::pressed, this, &MonitorDialog::startMonitor);
    connect(&m_thread, &QThread::started, this, &MonitorDialog::slotThreadStarted);
    connect(&m_thread, &QThread::finished, this, &MonitorDialog::slotThreadFinished);
    connect(&m_thread, &MonitorThread::signalShowError, this, &MonitorDialog::slotShowError);
    connect(&m_thread, &MonitorThread::signalDataRecv, this, &MonitorDialog::slotDataRecv);

    // Hours of monitoring must not pile up undo steps.
    ui->textEdit->setUndoRedoEnabled(false);
    ui->textEdit->setReadOnly(true);
    ui->bntStop->setEnabled(false);
    ui->rdOriginal->setChecked(true);
    ui->ckDebug->setChecked(true);
}

MonitorDialog::~MonitorDialog()
{
    m_thread.stop();
    closeBatch();
    m_appendCursor = QTextCursor();
    delete ui;
}

MonitorMode MonitorDialog::mode() const
{
    if (ui->rdOriginal->isChecked())
        return MonitorMode::Original;
    if (ui->rdHex->isChecked())
        return MonitorMode::Hex;
    return MonitorMode::OriginalHex;
}

void MonitorDialog::slotClearText()
{
    closeBatch();
    ui->textEdit->clear();
}

void MonitorDialog::slotShowError(const QString &title, const QString &error)
{
    QMessageBox box(QMessageBox::Critical, title, withLinkContext(error), QMessageBox::NoButton, this);
    box.setWindowIcon(windowIcon());
    box.addButton(tr("确定"), QMessageBox::AcceptRole);
    box.exec();
}

void MonitorDialog::slotDataRecv(const QByteArray &buffer)
{
    if (buffer.isEmpty())
        return;
    appendText(formatMonitorLine(buffer, mode(), m_clock()));
}

void MonitorDialog::slotThreadStarted()
{
    ui->bntStart->setEnabled(false);
    ui->bntStop->setEnabled(true);
    ui->ckDebug->setEnabled(false);
}

void MonitorDialog::slotThreadFinished()
{
    ui->bntStart->setEnabled(true);
    ui->bntStop->setEnabled(false);
    ui->ckDebug->setEnabled(true);
}

void MonitorDialog::startMonitor()
{
    m_thread.setDebug(ui->ckDebug->isChecked());
    m_thread.start();
}

void MonitorDialog::appendText(const QString &text)
{
    // The text is in the document at once; only layout and scrolling wait
    // for the end of this event-loop turn. A cursor of our own leaves the
    // user's selection alone.
    if (!m_batchOpen) {
        QScrollBar *bar = ui->textEdit->verticalScrollBar();
        m_followEnd = bar->value() >= bar->maximum();
        m_appendCursor = QTextCursor(ui->textEdit->document());
        m_appendCursor.movePosition(QTextCursor::End);
        m_appendCursor.beginEditBlock();
        m_batchOpen = true;
        QMetaObject::invokeMethod(this, &MonitorDialog::closeBatch, Qt::QueuedConnection);
    }
    m_appendCursor.insertText(text);
}

void MonitorDialog::closeBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    m_appendCursor.endEditBlock();
    if (m_followEnd) {
        QScrollBar *bar = ui->textEdit->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}
