#pragma once

#include "items/writereview.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

// Shows what a batch write would change and lets the user pick the rows.
class WriteReviewDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WriteReviewDialog(const QVector<ReviewRow> &rows, QWidget *parent = nullptr);

    // The rows as the user left them (checked = to be written).
    QVector<ReviewRow> rows() const;
    void setChecked(int row, bool checked);
    QString summaryText() const;
    // A line above the rows (rows the list's filter hides are written too).
    void setNote(const QString &note);
    QString noteText() const;

    // Tests answer the next review here instead of a person: the function
    // sees the dialog as built and returns whether Write was pressed.
    static void setNextAnswer(const std::function<bool(WriteReviewDialog &)> &answer);

    int exec() override;

private:
    void updateSummary();

    QVector<ReviewRow> m_rows;
    QTreeWidget *m_list;
    QLabel *m_summary;
    QLabel *m_note;
    QPushButton *m_write;
};
