#include "history/historytablemodel.h"

#include "history/historyrecord.h"

#include <algorithm>
#include <numeric>
#include <vector>

HistoryTableModel::HistoryTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void HistoryTableModel::appendLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    const int first = m_rows.size();
    int columns = m_columns;
    QVector<Row> added;
    added.reserve(lines.size());
    for (const QString &text : lines) {
        Row row;
        row.line = text;
        while (row.line.endsWith(QLatin1Char('\n')) || row.line.endsWith(QLatin1Char('\r')))
            row.line.chop(1);
        const QStringList fields = historyRecordFields(row.line);
        row.timed = parseHistoryTime(fields.first(), &row.time);
        if (!row.timed) {
            ++m_withoutTime;
            if (m_headerNames.isEmpty() && fields.size() >= 2)
                m_headerNames = fields;
        }
        columns = qMax(columns, fields.size());
        added.append(row);
    }
    if (columns > m_columns) {
        beginInsertColumns(QModelIndex(), m_columns, columns - 1);
        m_columns = columns;
        endInsertColumns();
    }
    beginInsertRows(QModelIndex(), first, first + added.size() - 1);
    m_rows += added;
    if (!m_order.isEmpty()) {
        for (int i = first; i < m_rows.size(); ++i)
            m_order.append(i);
    }
    endInsertRows();
}

void HistoryTableModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_order.clear();
    m_headerNames.clear();
    m_columns = 0;
    m_withoutTime = 0;
    endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int HistoryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant HistoryTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::DisplayRole)
        return {};
    return historyRecordFields(rowAt(index.row()).line).value(index.column());
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return tr("时间");
    const QString name = m_headerNames.value(section);
    return name.isEmpty() ? tr("第%1列").arg(section + 1) : name;
}

void HistoryTableModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    applySort();
}

void HistoryTableModel::applySort()
{
    if (m_sortColumn < 0 || m_sortColumn >= m_columns)
        return;
    // Keys once per row, not per comparison: 0 number or time, 1 text.
    struct Key
    {
        int kind = 1;
        double number = 0;
        QString text;
    };
    std::vector<Key> keys(size_t(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        Key &key = keys[size_t(i)];
        const Row &row = m_rows.at(i);
        if (m_sortColumn == 0 && row.timed) {
            key.kind = 0;
            key.number = double(row.time);
            continue;
        }
        key.text = historyRecordFields(row.line).value(m_sortColumn);
        if (m_sortColumn > 0 && parseHistoryNumber(key.text, &key.number))
            key.kind = 0;
    }
    std::vector<int> order(size_t(m_rows.size()));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    // Rows without a time or number stay below the others either way.
    std::stable_sort(order.begin(), order.end(), [&keys, ascending](int a, int b) {
        if (keys[size_t(a)].kind != keys[size_t(b)].kind)
            return keys[size_t(a)].kind < keys[size_t(b)].kind;
        const Key &x = keys[size_t(ascending ? a : b)];
        const Key &y = keys[size_t(ascending ? b : a)];
        if (x.kind == 0)
            return x.number < y.number;
        return x.text < y.text;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // A selection follows its rows to their new places.
    const QModelIndexList before = persistentIndexList();
    QVector<int> lines;
    for (const QModelIndex &index : before)
        lines.append(m_order.isEmpty() ? index.row() : m_order.at(index.row()));
    m_order = QVector<int>(order.begin(), order.end());
    QVector<int> shownAt(m_rows.size());
    for (int i = 0; i < m_order.size(); ++i)
        shownAt[m_order.at(i)] = i;
    QModelIndexList after;
    for (int k = 0; k < before.size(); ++k)
        after.append(index(shownAt.at(lines.at(k)), before.at(k).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
