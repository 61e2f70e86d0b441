#include "history/historydata.h"

#include "app/filedialogs.h"
#include "app/filenames.h"
#include "app/resourcesinit.h"
#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "link/linkerrorcontext.h"
#include "monitor/monitorline.h"
#include "ui_historydata.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

HistoryData::HistoryData(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::HistoryData)
{
    vexaInitResources();
    ui->setupUi(this);
    setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/debug.png")));
    ui->textEdit->setReadOnly(true);
    // Read-only view: an undo history would only grow with every line.
    ui->textEdit->setUndoRedoEnabled(false);
    const QDate today = QDateTime::currentDateTime().date();
    for (QDateEdit *edit : { ui->dateStart, ui->dateEnd }) {
        edit->setCalendarPopup(true);
        edit->setDate(today);
    }

    connect(ui->bntQuery, &QPushButton::clicked, this, &HistoryData::slotQueryHistory);
    connect(ui->bntExportCSV, &QPushButton::clicked, this, &HistoryData::slotExportCSV);
    connect(ui->bntExportPDF, &QPushButton::clicked, this, &HistoryData::slotExportPDF);
    connect(&m_reader, &ReadThread::signalClearText, this, &HistoryData::slotClearText);
    connect(&m_reader, &ReadThread::signalAddText, this, &HistoryData::slotAddText);
    connect(&m_reader, &ReadThread::signalShowError, this, &HistoryData::slotShowError);
}

HistoryData::~HistoryData()
{
    // Whatever way the dialog went (close, Escape, its parent going away),
    // the reader must end before the dialog it reports to is gone. The
    // channel gives up on its own within its time-outs.
    m_reader.stop();
    m_reader.wait();
    closeBatch();
    m_appendCursor = QTextCursor();
    delete ui;
}

void HistoryData::slotClearText()
{
    if (m_batchOpen) {
        m_batchOpen = false;
        m_appendCursor.endEditBlock();
    }
    ui->textEdit->clear();
}

void HistoryData::slotAddText(const QString &text)
{
    // The text is in the document at once; only layout and scrolling wait
    // for the end of this event-loop turn.
    if (!m_batchOpen) {
        m_appendCursor = QTextCursor(ui->textEdit->document());
        m_appendCursor.movePosition(QTextCursor::End);
        m_appendCursor.beginEditBlock();
        m_batchOpen = true;
        QMetaObject::invokeMethod(this, &HistoryData::closeBatch, Qt::QueuedConnection);
    }
    m_appendCursor.movePosition(QTextCursor::End);
    m_lastLineStart = m_appendCursor.position();
    // One huge line must not stall the layout: its start and its length show.
    m_appendCursor.insertText(clipShownText(text, MonitorLineFormat::DefaultMaxShownBytes, tr("…（共 %1 个字符）")));
}

void HistoryData::slotShowError(const QString &title, const QString &error)
{
    showErrorBox(title, withLinkContext(error));
}

void HistoryData::slotQueryHistory()
{
    if (m_reader.isRunning())
        return;
    const QDate start = ui->dateStart->date();
    const QDate end = ui->dateEnd->date();
    if (start > end) {
        showErrorBox(tr("查询"), tr("起始日期应该小于或等于结束日期"));
        return;
    }
    m_reader.startQuery(buildHistoryRequest(start, end));
}

void HistoryData::slotExportCSV()
{
    const QString fileName = askExportFile(QStringLiteral("csv"));
    if (fileName.isEmpty())
        return;
    if (exportHistoryCsv(fileName, ui->textEdit->toPlainText()) == HistoryExportResult::OpenFailed)
        showExportError(fileName);
}

void HistoryData::slotExportPDF()
{
    const QString fileName = askExportFile(QStringLiteral("pdf"));
    if (fileName.isEmpty())
        return;
    const QTextDocument *document = ui->textEdit->document();
    HistoryPdfOptions options;
    // One row per text line: the on-screen word wrap must not change the table.
    options.rowCount = document->blockCount();
    switch (exportHistoryPdf(fileName, historyTextLines(document->toPlainText()), options)) {
    case HistoryExportResult::Ok:
        break;
    case HistoryExportResult::OpenFailed:
        showExportError(fileName);
        break;
    case HistoryExportResult::FormatError:
        showErrorBox(tr("导出配置"), tr("导出数据失败，数据格式错误"));
        break;
    }
}

QString HistoryData::askExportFile(const QString &suffix)
{
    return askSaveFileName(this, tr("导出历史数据"), HistoryFiles,
        historyFileName(ui->dateStart->date(), ui->dateEnd->date(), suffix), QStringLiteral("Files (*.%1)").arg(suffix),
        suffix);
}

void HistoryData::closeEvent(QCloseEvent *event)
{
    stopReader();
    QDialog::closeEvent(event);
}

void HistoryData::reject()
{
    // Escape leaves without a close event; stop the reader the same way.
    stopReader();
    QDialog::reject();
}

void HistoryData::stopReader()
{
    if (!m_reader.isRunning())
        return;
    hide();
    m_reader.stop();
    // The rest of the wait, if any, happens in the destructor.
    m_reader.wait(1000);
}

void HistoryData::closeBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    m_appendCursor.endEditBlock();
    // The view ends where appending line by line left it: moving the cursor
    // to the end before the last line brought that spot into view, and the
    // cursor ended behind the last line.
    QTextCursor cursor = ui->textEdit->textCursor();
    cursor.setPosition(m_lastLineStart);
    ui->textEdit->setTextCursor(cursor);
    QScrollBar *bar = ui->textEdit->verticalScrollBar();
    const int shown = bar->value();
    cursor.movePosition(QTextCursor::End);
    ui->textEdit->setTextCursor(cursor);
    bar->setValue(shown);
}

void HistoryData::showErrorBox(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, this);
    box.setWindowIcon(windowIcon());
    box.button(QMessageBox::Ok)->setText(tr("确定"));
    box.exec();
}

void HistoryData::showExportError(const QString &fileName)
{
    showErrorBox(tr("导出配置"), tr("打开文件失败: %1").arg(fileName));
}
