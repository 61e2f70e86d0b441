#pragma once

#include "items/itemcomparison.h"

#include <QDialog>

#include <functional>

class QLabel;
class QTableWidget;

// The meter's items beside an item file's, differing rows first and marked.
// Nothing is written from here: "写入不同项…" ends the dialog with
// WriteDiffering and the caller opens the write review.
class CompareDialog : public QDialog
{
    Q_OBJECT

public:
    enum Choice { Closed = QDialog::Rejected, WriteDiffering = 2 };

    // connection names the meter in the report's first line.
    CompareDialog(const ItemComparison &comparison, const QString &connection, QWidget *parent = nullptr);

    // Tests answer the next dialog here instead of a person: the function
    // sees the dialog as built (and may press its buttons) and returns the
    // choice.
    static void setNextAnswer(const std::function<int(CompareDialog &)> &answer);

    int exec() override;

public slots:
    void slotExportReport();

private:
    void fillTable();

    ItemComparison m_comparison;
    QString m_connection;
    QLabel *m_summary;
    QTableWidget *m_table;
};
