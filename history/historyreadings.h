#pragma once

#include "history/historyseries.h"

#include <QHash>
#include <QStringList>
#include <QVector>

// Turns record lines into series of readings, one per quantity and unit.
// A reading is a field that is a number (or a field such as "流量 12.5 m3/h").
// Its quantity is named by the text field just before it
// ("time,瞬时流量,12.50,m3/h", the unit then follows the number), else by the
// header line's field of that column ("日期时间,瞬时流量(m3/h),..."), else by
// the column's number. A quantity whose unit changes gets a series per unit.
class HistoryReadings
{
public:
    // Quantities charted at most; readings of further ones are counted.
    static constexpr int kMaxSeries = 24;

    void addLine(const QString &line);
    void clear();

    const QVector<HistorySeries> &series() const { return m_series; }
    // Every series in time order (times may come out of order).
    QVector<HistorySeries> sortedSeries() const;
    int linesWithoutTime() const { return m_withoutTime; }
    int linesWithoutNumber() const { return m_withoutNumber; }
    int readingsOverSeriesCap() const { return m_overCap; }
    // Earliest and latest reading; false when there is none.
    bool timeSpan(double *first, double *last) const;

private:
    void addReading(double time, const QString &name, const QString &unit, double value);
    void noteHeader(const QStringList &fields);

    QVector<HistorySeries> m_series;
    QHash<QString, int> m_seriesByKey;
    QStringList m_headerNames; // per column; empty: none
    QStringList m_headerUnits;
    int m_withoutTime = 0;
    int m_withoutNumber = 0;
    int m_overCap = 0;
};
