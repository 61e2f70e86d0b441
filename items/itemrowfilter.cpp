#include "items/itemrowfilter.h"

#include <QHash>

namespace {

const QString kModelName = QStringLiteral("设备型号");
const QString kDeviceName = QStringLiteral("设备名称");

} // namespace

ItemRowFilter::ItemRowFilter(const SkipMap &skipMap)
    : m_skipMap(skipMap)
{
}

bool ItemRowFilter::isSkipped(const ItemRecord &record, ItemRecord *released)
{
    *released = ItemRecord();
    if (record.fields.size() < 2)
        return false;
    const QString &name = record.fields.at(0);
    const QString value = normalizeSkipText(record.fields.at(1));

    if (name == kModelName) {
        if (!m_hasHeldRow)
            return m_skipMap.contains(value);
        const bool hideBoth = m_skipMap.value(normalizeSkipText(m_held.fields.value(1))).contains(value);
        if (!hideBoth)
            *released = m_held;
        m_hasHeldRow = false;
        m_held = ItemRecord();
        return hideBoth;
    }
    if (name == kDeviceName) {
        if (!m_skipMap.contains(value))
            return false;
        // Shown or hidden together with the model row that follows.
        m_hasHeldRow = true;
        m_held = record;
        return true;
    }
    if (name.compare(QLatin1String("model"), Qt::CaseInsensitive) == 0)
        return m_skipMap.contains(value);
    return false;
}

QVector<int> ItemRowFilter::rowNumbers(const QVector<ItemRecord> &records, const SkipMap &skipMap)
{
    ItemRowFilter filter(skipMap);
    QVector<int> rows(records.size(), 0);
    QHash<int, int> positions; // item index -> position in records
    int shown = 0;
    for (int i = 0; i < records.size(); ++i) {
        positions.insert(records.at(i).index, i);
        ItemRecord released;
        const bool skipped = filter.isSkipped(records.at(i), &released);
        if (!released.fields.isEmpty())
            rows[positions.value(released.index)] = ++shown;
        if (!skipped)
            rows[i] = ++shown;
    }
    return rows;
}
