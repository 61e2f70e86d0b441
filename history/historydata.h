#pragma once

#include "history/historyexport.h"
#include "history/historyreadings.h"
#include "history/readthread.h"
#include "items/knownvalues.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextCursor>

#include <memory>

class HistoryChart;
class HistoryTableModel;
class QLabel;
class QTableView;
class QTableWidget;
class QTabWidget;
struct ServiceReport;
namespace Ui {
class HistoryData;
}

// Asks the instrument for its history log between two dates, shows the
// lines and exports them as CSV or as an A4 PDF table. Beside the text: the
// same lines as a sortable table and as a chart, and the service report.
class HistoryData : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryData(QWidget *parent = nullptr);
    ~HistoryData() override;

    // For observers (tests): the reader's signals and running state.
    const ReadThread &reader() const { return m_reader; }
    // The meter as the main window last read it: names the chart and fills
    // the service report.
    void setMeterValues(const KnownMeterValues &values) { m_meterValues = values; }
    // What the service report says of the meter, with the history shown now.
    ServiceReport serviceReport() const;

    void reject() override;

private slots:
    void slotClearText();
    void slotAddText(const QString &text);
    void slotShowError(const QString &title, const QString &error);
    void slotQueryHistory();
    void slotExportCSV();
    void slotExportPDF();
    void slotExportChart();
    void slotServiceReport();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The export file, named after the dates asked for.
    QString askExportFile(const QString &suffix);
    void showErrorBox(const QString &title, const QString &text);
    // "打开文件失败: %1" or, when writing failed, "写入文件失败: %1"; the
    // system's reason as a second line.
    void showExportError(HistoryExportResult result, const QString &fileName, const QString &reason);
    void stopReader();
    void closeBatch();
    void showQueryState();
    void setUpTableAndChart();
    // Moves waiting lines into the views until this turn's time is spent.
    void showPendingLines();
    bool turnSpent() const;
    // Once the reader has ended and every line is shown.
    void finishAnswer();
    void refreshChart();
    void showChartStats();
    QStringList chartTitle() const;
    // Runs the export on a thread of its own behind a progress dialog with
    // Cancel; the window keeps answering meanwhile.
    HistoryExportResult exportPdfInBackground(
        const QString &fileName, const QStringList &lines, const HistoryPdfOptions &options, QString *reason);

    const std::unique_ptr<Ui::HistoryData> ui;
    ReadThread m_reader;
    // Lines of one event-loop turn go in under one edit block: one layout
    // pass and one scroll per turn instead of per line.
    QTextCursor m_appendCursor;
    int m_lastLineStart = 0;
    bool m_batchOpen = false;
    // Below the text: whether the answer is still coming and how many lines came.
    QLabel *m_status;
    int m_linesReceived = 0;
    bool m_queryFailed = false;
    // Lines not yet in the views: a fast answer is shown over several turns
    // so that none of them stalls the window.
    QStringList m_pending;
    QElapsedTimer m_turn;
    bool m_showScheduled = false;
    QTabWidget *m_tabs = nullptr;
    HistoryTableModel *m_tableModel = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_tableNote = nullptr;
    HistoryChart *m_chart = nullptr;
    QLabel *m_chartCursor = nullptr;
    QLabel *m_chartNote = nullptr;
    QTableWidget *m_chartStats = nullptr;
    HistoryReadings m_readings;
    bool m_chartStale = false;
    KnownMeterValues m_meterValues;
    // The connection of the last query (before one, the one stored when the dialog opened).
    LinkSettings m_link = storedLinkSettings();
};
