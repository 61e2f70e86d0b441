#pragma once

#include "history/readthread.h"
#include "items/knownvalues.h"

#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLabel;

// From the main window: asks for the history's range (the last 7 days by
// default) and the file, reads the history, then writes the service report.
// Cancel while reading stops the reader; the dialog stays usable after an
// error.
class ServiceReportDialog : public QDialog
{
    Q_OBJECT

public:
    ServiceReportDialog(const KnownMeterValues &values, QWidget *parent = nullptr);
    ~ServiceReportDialog() override;

    const ReadThread &reader() const { return m_reader; }
    QString writtenFile() const { return m_written; }

public slots:
    void accept() override;
    void reject() override;

private:
    void readFinished();
    void showError(const QString &title, const QString &text);
    void setBusy(bool busy);

    KnownMeterValues m_values;
    ReadThread m_reader;
    LinkSettings m_link; // the connection of the last read
    QDateEdit *m_start;
    QDateEdit *m_end;
    QLabel *m_state;
    QDialogButtonBox *m_buttons;
    QString m_file;
    QString m_text;
    QString m_error;
    int m_lines = 0;
    QString m_written;
};
