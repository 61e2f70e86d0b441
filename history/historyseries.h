#pragma once

#include <QPointF>
#include <QString>
#include <QVector>

// The readings of one quantity in one unit, in time order once sorted.
// Times are the record's wall-clock milliseconds (see parseHistoryTime).
struct HistorySeries
{
    QString name;
    QString unit;
    QVector<double> times;
    QVector<double> values;

    int size() const { return times.size(); }
    // Name and unit as a legend shows them: "瞬时流量 (m3/h)".
    QString label() const;
};

// Min, max, mean and count of a series' points within a time range.
struct HistorySeriesStats
{
    int count = 0;
    double min = 0;
    double max = 0;
    double mean = 0;
};

// Puts the points in time order (stable: duplicates keep their order).
void sortSeriesByTime(HistorySeries &series);

// The points with from <= time <= to; the series must be in time order.
HistorySeriesStats seriesStats(const HistorySeries &series, double from, double to);

// What a plot of `buckets` pixel columns needs of the range: per column the
// first, lowest, highest and last point, in time order, plus the nearest
// point outside on either side so the line runs to the edge. Only for
// drawing: the numbers shown come from seriesStats over every point.
QVector<QPointF> decimatedPoints(const HistorySeries &series, double from, double to, int buckets);

// Index of the point nearest to `time` (in time order), -1 when empty.
int nearestPoint(const HistorySeries &series, double time);
