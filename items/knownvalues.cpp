#include "items/knownvalues.h"

#include "items/identificationrows.h"

void KnownMeterValues::switchTo(const QString &connection)
{
    if (connection == m_connection)
        return;
    m_values.clear();
    m_connection = connection;
}

void KnownMeterValues::noteRead(const QString &connection, const ItemRecord &record)
{
    switchTo(connection);
    // Same line, but another meter was plugged in: its rows 0 and 1 say so.
    if (isIdentificationIndex(record.index) && m_values.contains(record.index)
        && m_values.value(record.index).fields != record.fields)
        m_values.clear();
    m_values.insert(record.index, { record.fields, Source::Refresh });
}

void KnownMeterValues::noteWrite(const QString &connection, int index, const QStringList &answer)
{
    switchTo(connection);
    m_values.insert(index, { answer, Source::Write });
}

void KnownMeterValues::clear()
{
    m_values.clear();
    m_connection.clear();
}

QVector<ItemRecord> KnownMeterValues::records() const
{
    QVector<ItemRecord> records;
    records.reserve(m_values.size());
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        records << ItemRecord { it.key(), it.value().fields };
    return records;
}

QString KnownMeterValues::model() const
{
    for (const Entry &entry : m_values) {
        if (isModelRowName(entry.fields.value(0)))
            return entry.fields.value(1);
    }
    return {};
}

QString KnownMeterValues::deviceName() const
{
    for (const Entry &entry : m_values) {
        if (isDeviceNameRowName(entry.fields.value(0)))
            return entry.fields.value(1);
    }
    return {};
}
