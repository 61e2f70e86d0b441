#pragma once

#include "items/itemcsv.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// What the meter last said about its items: the "meter" side of a comparison
// with the tree. Imports never touch it.
class KnownMeterValues
{
public:
    enum class Source { Refresh, Write };
    struct Entry
    {
        QStringList fields; // name[, value] as the meter reported them
        Source source = Source::Refresh;
    };

    // A refresh over the given connection (see connectionKey) reported this
    // item. The values of another meter - another connection, or other
    // identification rows - are forgotten first.
    void noteRead(const QString &connection, const ItemRecord &record);
    // A write's answer: the item as the meter now holds it.
    void noteWrite(const QString &connection, int index, const QStringList &answer);
    void clear();

    bool contains(int index) const { return m_values.contains(index); }
    Entry entry(int index) const { return m_values.value(index); }
    bool hasValue(int index) const { return entry(index).fields.size() >= 2; }
    QString value(int index) const { return entry(index).fields.value(1); }
    QString connection() const { return m_connection; }
    bool isEmpty() const { return m_values.isEmpty(); }
    // Every item known, in index order, as the meter reported it.
    QVector<ItemRecord> records() const;
    // The identification rows as last read ("设备型号"/"model", "设备名称").
    QString model() const;
    QString deviceName() const;

    static bool isIdentificationIndex(int index) { return index == 0 || index == 1; }

private:
    void switchTo(const QString &connection);

    QString m_connection;
    QMap<int, Entry> m_values;
};
