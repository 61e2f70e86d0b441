#include "history/historydata.h"

#include "base/backgroundjob.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "history/dayedit.h"
#include "history/historychart.h"
#include "history/historychartexport.h"
#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "history/historytablemodel.h"
#include "history/servicereport.h"
#include "history/servicereportwriter.h"
#include "items/journalreader.h"
#include "link/commsettings.h"
#include "monitor/monitorline.h"
#include "ui_historydata.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

namespace {

// Work on arriving lines per event-loop turn; the rest waits for the next.
// Laying out what went in takes about as long again, in a turn of its own.
constexpr int kTurnBudgetMs = 15;
// Lines put into the document with one insertion.
constexpr int kLinesPerInsert = 256;

} // namespace

HistoryData::HistoryData(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::HistoryData>())
{
    ui->setupUi(this);
    setUpTableAndChart();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    // Room for the line from the start: the text view does not jump when it appears.
    m_status->setMinimumHeight(m_status->fontMetrics().height());
    // Under every page, so the first row keeps its width.
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(findChild<QPushButton *>(QStringLiteral("bntServiceReport")));
    ui->verticalLayout->addLayout(bottom);
    setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/debug.png")));
    ui->textEdit->setReadOnly(true);
    // Read-only view: an undo history would only grow with every line.
    ui->textEdit->setUndoRedoEnabled(false);
    const QDate today = QDateTime::currentDateTime().date();
    for (QDateEdit *edit : { ui->dateStart, ui->dateEnd }) {
        setUpDayEdit(edit);
        edit->setDate(today);
    }

    connect(ui->bntQuery, &QPushButton::clicked, this, &HistoryData::slotQueryHistory);
    connect(ui->bntExportCSV, &QPushButton::clicked, this, &HistoryData::slotExportCSV);
    connect(ui->bntExportPDF, &QPushButton::clicked, this, &HistoryData::slotExportPDF);
    connect(&m_reader, &ReadThread::signalClearText, this, &HistoryData::slotClearText);
    connect(&m_reader, &ReadThread::signalAddText, this, &HistoryData::slotAddText);
    connect(&m_reader, &ReadThread::signalFailed, this,
        [this](const QString &title, const LinkFailure &failure) { slotShowError(title, failure.text()); });
    // The answer has no end marker: the reader ends after a quiet spell. Until
    // then a second query is not possible, and the button says so.
    connect(&m_reader, &QThread::finished, this, [this] {
        ui->bntQuery->setEnabled(true);
        showQueryState();
        if (m_pending.isEmpty())
            finishAnswer();
    });
}

void HistoryData::setUpTableAndChart()
{
    // The text stays the first page and keeps its place in the form.
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("historyTabs"));
    delete ui->verticalLayout->replaceWidget(ui->textEdit, m_tabs);
    m_tabs->addTab(ui->textEdit, tr("文本"));

    auto *tablePage = new QWidget(m_tabs);
    auto *tableLayout = new QVBoxLayout(tablePage);
    m_tableModel = new HistoryTableModel(this);
    m_table = new QTableView(tablePage);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setModel(m_tableModel);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Arrival order until a header is clicked.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    // The time column as wide as a time, without measuring every row.
    connect(m_tableModel, &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex &, int first) {
        if (first == 0)
            m_table->horizontalHeader()->resizeSection(
                0, m_table->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 16);
    });
    m_tableNote = new QLabel(tablePage);
    m_tableNote->setObjectName(QStringLiteral("historyTableNote"));
    tableLayout->addWidget(m_table, 1);
    tableLayout->addWidget(m_tableNote);
    m_tabs->addTab(tablePage, tr("表格"));

    auto *chartPage = new QWidget(m_tabs);
    auto *chartLayout = new QVBoxLayout(chartPage);
    m_chart = new HistoryChart(chartPage);
    m_chart->setObjectName(QStringLiteral("historyChart"));
    m_chart->setToolTip(tr("滚轮缩放，拖动平移，右键拖动（或按住Ctrl拖动）框选放大，双击显示全部"));
    m_chartCursor = new QLabel(chartPage);
    m_chartCursor->setObjectName(QStringLiteral("historyChartCursor"));
    m_chartCursor->setMinimumHeight(m_chartCursor->fontMetrics().height());
    m_chartStats = new QTableWidget(0, 6, chartPage);
    m_chartStats->setObjectName(QStringLiteral("historyChartStats"));
    m_chartStats->verticalHeader()->hide();
    m_chartStats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_chartStats->horizontalHeader()->setStretchLastSection(true);
    m_chartStats->verticalHeader()->setDefaultSectionSize(m_chartStats->fontMetrics().height() + 4);
    m_chartStats->setMaximumHeight((m_chartStats->fontMetrics().height() + 4) * 4 + 4);
    m_chartNote = new QLabel(chartPage);
    m_chartNote->setObjectName(QStringLiteral("historyChartNote"));
    m_chartNote->setWordWrap(true);
    auto *exportChart = new QPushButton(tr("导出图表…"), chartPage);
    exportChart->setObjectName(QStringLiteral("bntExportChart"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_chartNote, 1);
    bottom->addWidget(exportChart);
    chartLayout->addWidget(m_chart, 1);
    chartLayout->addWidget(m_chartCursor);
    chartLayout->addWidget(m_chartStats);
    chartLayout->addLayout(bottom);
    m_tabs->addTab(chartPage, tr("图表"));

    auto *report = new QPushButton(tr("服务报告…"), this);
    report->setObjectName(QStringLiteral("bntServiceReport"));

    connect(exportChart, &QPushButton::clicked, this, &HistoryData::slotExportChart);
    connect(report, &QPushButton::clicked, this, &HistoryData::slotServiceReport);
    connect(m_chart, &HistoryChart::viewChanged, this, &HistoryData::showChartStats);
    connect(m_chart, &HistoryChart::cursorTextChanged, m_chartCursor, &QLabel::setText);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_chartStale && m_tabs->currentWidget() == m_chart->parentWidget())
            refreshChart();
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
    m_pending.clear();
    m_showScheduled = false;
    m_tableModel->clear();
    m_readings.clear();
    m_chart->clear();
    m_chartStale = false;
    m_tableNote->clear();
    m_chartNote->clear();
    m_linesReceived = 0;
    if (m_reader.isRunning())
        showQueryState();
}

void HistoryData::slotAddText(const QString &text)
{
    // The reader hands over several lines at once, each with its line end.
    int start = 0;
    while (start < text.size()) {
        const int feed = text.indexOf(QLatin1Char('\n'), start);
        const int end = feed < 0 ? text.size() : feed + 1;
        m_pending.append(text.mid(start, end - start));
        ++m_linesReceived;
        start = end;
    }
    // After a layout turn the next lines wait for the turn already asked for.
    if (!m_showScheduled)
        showPendingLines();
}

bool HistoryData::turnSpent() const
{
    return m_batchOpen && m_turn.elapsed() >= kTurnBudgetMs;
}

void HistoryData::showPendingLines()
{
    // The text is in the document at once while this turn has time left;
    // only layout and scrolling wait for the end of the turn. What does not
    // fit into this turn goes in at its end, in order.
    m_showScheduled = false;
    int taken = 0;
    while (taken < m_pending.size() && !turnSpent()) {
        if (!m_batchOpen) {
            m_appendCursor = QTextCursor(ui->textEdit->document());
            m_appendCursor.beginEditBlock();
            m_batchOpen = true;
            m_turn.start();
            QMetaObject::invokeMethod(this, &HistoryData::closeBatch, Qt::QueuedConnection);
        }
        const int count = qMin(kLinesPerInsert, m_pending.size() - taken);
        QString block;
        QString last;
        QStringList shown;
        for (int i = taken; i < taken + count; ++i) {
            block += last;
            // One huge line must not stall the layout: its start and its length
            // show. Table and chart hold the lines as shown, no more.
            last = clipShownText(m_pending.at(i), MonitorLineFormat::kDefaultMaxShownBytes, tr("…（共 %1 个字符）"));
            m_readings.addLine(last);
            shown.append(last);
        }
        // The last line on its own: the view ends where it starts.
        m_appendCursor.movePosition(QTextCursor::End);
        m_appendCursor.insertText(block);
        m_lastLineStart = m_appendCursor.position();
        m_appendCursor.insertText(last);
        m_tableModel->appendLines(shown);
        taken += count;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + taken);
    m_chartStale = m_chartStale || taken > 0;
}

void HistoryData::slotShowError(const QString &title, const QString &error)
{
    m_queryFailed = true;
    showErrorBox(title, error);
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
    // The lines, the chart's title and the writes marked on it are this connection's.
    m_link = storedLinkSettings();
    m_reader.setLinkSettings(m_link);
    m_reader.startQuery(buildHistoryRequest(start, end));
    ui->bntQuery->setEnabled(false);
    showQueryState();
}

void HistoryData::showQueryState()
{
    if (m_reader.isRunning() || !m_pending.isEmpty())
        m_status->setText(tr("正在查询…已收到 %1 行", nullptr, m_linesReceived).arg(m_linesReceived));
    else if (m_queryFailed)
        m_status->setText(tr("查询失败，已收到 %1 行", nullptr, m_linesReceived).arg(m_linesReceived));
    else
        m_status->setText(tr("查询结束，共收到 %1 行", nullptr, m_linesReceived).arg(m_linesReceived));
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
    else
        SavedFileNotice::announce(fileName);
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
        SavedFileNotice::announce(fileName);
        break;
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
        historyFileName(ui->dateStart->date(), ui->dateEnd->date(), suffix), tr("Files (*.%1)").arg(suffix), suffix);
}

HistoryExportResult HistoryData::exportPdfInBackground(
    const QString &fileName, const QStringList &lines, const HistoryPdfOptions &options, QString *reason)
{
    BackgroundJob job(this);
    QProgressDialog &progress = job.progress();
    progress.setWindowTitle(tr("导出历史数据"));
    progress.setLabelText(tr("正在导出PDF…"));
    progress.setCancelButtonText(tr("取消"));
    progress.setRange(0, qMax(1, options.rowCount));
    progress.setMinimumDuration(400);

    std::atomic<int> rowsDone { 0 };
    HistoryExportControl control;
    control.cancel = &job.stopFlag();
    control.progress = [&rowsDone](int done, int) {
        rowsDone = done;
    };
    QTimer tick;
    connect(&tick, &QTimer::timeout, &progress, [&] {
        if (!progress.wasCanceled())
            progress.setValue(rowsDone);
    });
    tick.start(50);
    // Until the progress dialog shows, nothing else may start an export.
    ui->bntExportPDF->setEnabled(false);
    ui->bntExportCSV->setEnabled(false);

    HistoryExportResult result = HistoryExportResult::Cancelled;
    job.run([&] { result = exportHistoryPdf(fileName, lines, options, control, reason); });

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
    // The next lines in a turn of their own: input and painting come between.
    if (!m_pending.isEmpty()) {
        m_showScheduled = true;
        QMetaObject::invokeMethod(this, &HistoryData::showPendingLines, Qt::QueuedConnection);
    } else if (!m_reader.isRunning())
        finishAnswer();
}

void HistoryData::finishAnswer()
{
    showQueryState();
    m_tableModel->applySort();
    const int rows = m_tableModel->rowCount();
    const int untimed = m_tableModel->rowsWithoutTime();
    m_tableNote->setText(untimed == 0
            ? tr("共 %1 行", nullptr, rows).arg(rows)
            : tr("共 %1 行，其中 %2 行的时间无法识别（仍列在表中）", nullptr, rows).arg(rows).arg(untimed));
    if (m_chartStale)
        refreshChart();
}

void HistoryData::refreshChart()
{
    m_chartStale = false;
    const QDateTime from(ui->dateStart->date(), QTime(0, 0));
    const QDateTime to(ui->dateEnd->date().addDays(1), QTime(0, 0));
    const LinkSettings &link = m_link;
    const QVector<JournalEntry> writes = JournalReader().entriesFor(link.describe(), link.deviceAddress, from, to);
    m_chart->setData(m_readings.sortedSeries(), historyMarks(writes));
    QStringList skipped;
    if (m_readings.linesWithoutTime() > 0)
        skipped << tr("%1 行没有时间", nullptr, m_readings.linesWithoutTime()).arg(m_readings.linesWithoutTime());
    if (m_readings.linesWithoutNumber() > 0)
        skipped << tr("%1 行没有数值", nullptr, m_readings.linesWithoutNumber()).arg(m_readings.linesWithoutNumber());
    if (m_readings.readingsOverSeriesCap() > 0)
        skipped << tr("%1 个读数超出 %2 个数据系列", nullptr, m_readings.readingsOverSeriesCap())
                       .arg(m_readings.readingsOverSeriesCap())
                       .arg(HistoryReadings::kMaxSeries);
    QString note;
    for (const QString &part : qAsConst(skipped))
        note = note.isEmpty() ? part : tr("%1，%2").arg(note, part);
    m_chartNote->setText(note.isEmpty() ? QString() : tr("未绘出: %1").arg(note));
}

void HistoryData::showChartStats()
{
    const QVector<HistorySeries> &series = m_chart->series();
    m_chartStats->setHorizontalHeaderLabels(
        { tr("数据"), tr("单位"), tr("最小值"), tr("最大值"), tr("平均值"), tr("点数") });
    m_chartStats->setRowCount(series.size());
    for (int row = 0; row < series.size(); ++row) {
        const HistorySeriesStats stats = seriesStats(series.at(row), m_chart->viewFrom(), m_chart->viewTo());
        const QStringList cells { series.at(row).name, series.at(row).unit,
            stats.count ? QString::number(stats.min, 'g', 10) : QString(),
            stats.count ? QString::number(stats.max, 'g', 10) : QString(),
            stats.count ? QString::number(stats.mean, 'g', 6) : QString(), QString::number(stats.count) };
        for (int column = 0; column < cells.size(); ++column) {
            QTableWidgetItem *item = m_chartStats->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_chartStats->setItem(row, column, item);
            }
            item->setText(cells.at(column));
        }
    }
}

QStringList HistoryData::chartTitle() const
{
    QStringList quantities;
    for (const HistorySeries &series : m_chart->series())
        quantities << series.label();
    return historyChartTitle(m_meterValues.model(), m_meterValues.deviceName(), m_link.targetText(),
        ui->dateStart->date(), ui->dateEnd->date(), quantities);
}

void HistoryData::slotExportChart()
{
    if (m_chartStale)
        refreshChart();
    const QString suggested = QStringLiteral("history_%1_%2_chart.png")
                                  .arg(ui->dateStart->date().toString(QStringLiteral("yyyyMMdd")),
                                      ui->dateEnd->date().toString(QStringLiteral("yyyyMMdd")));
    const QString fileName = askSaveFileName(
        this, tr("导出图表"), kHistoryFiles, suggested, tr("图片或PDF (*.png *.pdf)"), QStringLiteral("png"));
    if (fileName.isEmpty())
        return;
    const QString error = exportHistoryChart(*m_chart, fileName, chartTitle());
    if (!error.isEmpty())
        showErrorBox(tr("导出图表"), error);
    else
        SavedFileNotice::announce(fileName);
}

ServiceReport HistoryData::serviceReport() const
{
    return collectServiceReport(m_meterValues, m_link, ui->dateStart->date(), ui->dateEnd->date(),
        historyTextLines(ui->textEdit->toPlainText()));
}

void HistoryData::slotServiceReport()
{
    const QString fileName = askSaveFileName(this, tr("服务报告"), kHistoryFiles,
        serviceReportFileName(QDateTime::currentDateTime()), tr("Files (*.pdf)"), QStringLiteral("pdf"));
    if (fileName.isEmpty())
        return;
    const QString error = writeServiceReport(fileName, serviceReport());
    if (!error.isEmpty())
        showErrorBox(tr("服务报告"), error);
    else
        SavedFileNotice::announce(fileName);
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
