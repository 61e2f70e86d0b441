#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The history lines as a table: one row per line, split at commas. Column 0
// is the record's time and sorts as a time; other columns sort as numbers
// where both cells are numbers, else as text. Each row keeps only its line
// and its parsed time; the cells are split when shown or sorted.
class HistoryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit HistoryTableModel(QObject *parent = nullptr);

    // Lines as the view shows them; a line end is dropped.
    void appendLines(const QStringList &lines);
    void clear();
    // Lines that came in while a sort was set are placed by it now.
    void applySort();
    // Rows whose first field is not a time (they are still shown).
    int rowsWithoutTime() const { return m_withoutTime; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Row
    {
        QString line;
        qint64 time = 0;
        bool timed = false;
    };

    const Row &rowAt(int row) const { return m_rows.at(m_order.isEmpty() ? row : m_order.at(row)); }

    QVector<Row> m_rows; // in arrival order
    QVector<int> m_order; // shown order; empty: arrival order
    QStringList m_headerNames;
    int m_columns = 0;
    int m_withoutTime = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
