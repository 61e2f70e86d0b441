#pragma once

#include "history/historyexport.h"
#include "history/readthread.h"

#include <QDialog>
#include <QTextCursor>

#include <memory>

class QLabel;
namespace Ui {
class HistoryData;
}

// Asks the instrument for its history log between two dates, shows the
// lines and exports them as CSV or as an A4 PDF table.
class HistoryData : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryData(QWidget *parent = nullptr);
    ~HistoryData() override;

    // For observers (tests): the reader's signals and running state.
    const ReadThread &reader() const { return m_reader; }

    void reject() override;

private slots:
    void slotClearText();
    void slotAddText(const QString &text);
    void slotShowError(const QString &title, const QString &error);
    void slotQueryHistory();
    void slotExportCSV();
    void slotExportPDF();

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
};
