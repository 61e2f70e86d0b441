#include "history/historydata.h"

#include "base/filedialogs.h"
#include "base/filenames.h"
#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "link/linkerrorcontext.h"
#include "monitor/monitorline.h"
#include "ui_historydata.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include <atomic>
#include <memory>

HistoryData::HistoryData(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::HistoryData>())
{
    ui->setupUi(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    // Room for the line from the start: the text view does not jump when it appears.
    m_status->setMinimumHeight(m_status->fontMetrics().height());
    ui->verticalLayout->addWidget(m_status);
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
    // The answer has no end marker: the reader ends after a quiet spell. Until
    // then a second query is not possible, and the button says so.
    connect(&m_reader, &QThread::finished, this, [this] {
        ui->bntQuery->setEnabled(true);
        showQueryState();
    });
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
}

void HistoryData::slotClearText()
{
    if (m_batchOpen) {
        m_batchOpen = false;
        m_appendCursor.endEditBlock();
    }
    ui->textEdit->clear();
    m_linesReceived = 0;
    if (m_reader.isRunning())
        showQueryState();
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
    m_appendCursor.insertText(clipShownText(text, MonitorLineFormat::kDefaultMaxShownBytes, tr("…（共 %1 个字符）")));
    ++m_linesReceived;
}

void HistoryData::slotShowError(const QString &title, const QString &error)
{
    m_queryFailed = true;
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
    m_queryFailed = false;
    m_linesReceived = 0;
    m_reader.startQuery(buildHistoryRequest(start, end));
    ui->bntQuery->setEnabled(false);
    showQueryState();
}

void HistoryData::showQueryState()
{
    if (m_reader.isRunning())
        m_status->setText(tr("正在查询…已收到 %1 行").arg(m_linesReceived));
    else if (m_queryFailed)
        m_status->setText(tr("查询失败，已收到 %1 行").arg(m_linesReceived));
    else
        m_status->setText(tr("查询结束，共收到 %1 行").arg(m_linesReceived));
}

void HistoryData::slotExportCSV()
{
    const QString fileName = askExportFile(QStringLiteral("csv"));
    if (fileName.isEmpty())
        return;
    QString reason;
    const HistoryExportResult result = exportHistoryCsv(fileName, ui->textEdit->toPlainText(), &reason);
    if (result != HistoryExportResult::Ok)
        showExportError(result, fileName, reason);
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
    QString reason;
    const HistoryExportResult result
        = exportPdfInBackground(fileName, historyTextLines(document->toPlainText()), options, &reason);
    switch (result) {
    case HistoryExportResult::Ok:
    case HistoryExportResult::Cancelled:
        break;
    case HistoryExportResult::OpenFailed:
    case HistoryExportResult::WriteFailed:
        showExportError(result, fileName, reason);
        break;
    case HistoryExportResult::FormatError:
        showErrorBox(tr("导出配置"), tr("导出数据失败，数据格式错误"));
        break;
    }
}

QString HistoryData::askExportFile(const QString &suffix)
{
    return askSaveFileName(this, tr("导出历史数据"), kHistoryFiles,
        historyFileName(ui->dateStart->date(), ui->dateEnd->date(), suffix), QStringLiteral("Files (*.%1)").arg(suffix),
        suffix);
}

HistoryExportResult HistoryData::exportPdfInBackground(
    const QString &fileName, const QStringList &lines, const HistoryPdfOptions &options, QString *reason)
{
    std::atomic<bool> cancel { false };
    std::atomic<int> rowsDone { 0 };
    HistoryExportControl control;
    control.cancel = &cancel;
    control.progress = [&rowsDone](int done, int) {
        rowsDone = done;
    };
    HistoryExportResult result = HistoryExportResult::Cancelled;
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = exportHistoryPdf(fileName, lines, options, control, reason); }));

    QProgressDialog progress(tr("正在导出PDF…"), tr("取消"), 0, qMax(1, options.rowCount), this);
    progress.setWindowTitle(tr("导出历史数据"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // Until the progress dialog shows, nothing else may start an export.
    ui->bntExportPDF->setEnabled(false);
    ui->bntExportCSV->setEnabled(false);

    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &loop, [&cancel] { cancel = true; });
    QTimer tick;
    connect(&tick, &QTimer::timeout, &progress, [&] {
        if (!progress.wasCanceled())
            progress.setValue(rowsDone);
    });
    tick.start(50);
    worker->start();
    loop.exec();
    worker->wait();

    ui->bntExportPDF->setEnabled(true);
    ui->bntExportCSV->setEnabled(true);
    return result;
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
    if (m_reader.isRunning())
        showQueryState();
}

void HistoryData::showErrorBox(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, this);
    box.setWindowIcon(windowIcon());
    box.button(QMessageBox::Ok)->setText(tr("确定"));
    box.exec();
}

void HistoryData::showExportError(HistoryExportResult result, const QString &fileName, const QString &reason)
{
    const QString text = result == HistoryExportResult::WriteFailed ? tr("写入文件失败: %1").arg(fileName)
                                                                    : tr("打开文件失败: %1").arg(fileName);
    showErrorBox(tr("导出配置"), reason.isEmpty() ? text : text + QLatin1Char('\n') + reason);
}
