#pragma once

#include "history/readthread.h"

#include <QDialog>

namespace Ui {
class HistoryData;
}

// Asks the instrument for its history log between two dates, shows the
// lines and exports them as CSV or as an A4 PDF table.
class HistoryData : public QDialog {
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
    void showErrorBox(const QString &title, const QString &text);
    void showExportError(const QString &fileName);
    void stopReader();

    Ui::HistoryData *ui;
    ReadThread m_reader;
};
