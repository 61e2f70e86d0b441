#include "history/historyseries.h"

#include <algorithm>
#include <numeric>
#include <vector>

QString HistorySeries::label() const
{
    return unit.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, unit);
}

void sortSeriesByTime(HistorySeries &series)
{
    if (std::is_sorted(series.times.cbegin(), series.times.cend()))
        return;
    std::vector<int> order(size_t(series.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(
        order.begin(), order.end(), [&series](int a, int b) { return series.times.at(a) < series.times.at(b); });
    QVector<double> times(series.size());
    QVector<double> values(series.size());
    for (int i = 0; i < series.size(); ++i) {
        times[i] = series.times.at(order[size_t(i)]);
        values[i] = series.values.at(order[size_t(i)]);
    }
    series.times = times;
    series.values = values;
}

namespace {

int firstAtOrAfter(const HistorySeries &series, double time)
{
    return int(std::lower_bound(series.times.cbegin(), series.times.cend(), time) - series.times.cbegin());
}

int firstAfter(const HistorySeries &series, double time)
{
    return int(std::upper_bound(series.times.cbegin(), series.times.cend(), time) - series.times.cbegin());
}

} // namespace

HistorySeriesStats seriesStats(const HistorySeries &series, double from, double to)
{
    HistorySeriesStats stats;
    const int begin = firstAtOrAfter(series, from);
    const int end = firstAfter(series, to);
    double sum = 0;
    for (int i = begin; i < end; ++i) {
        const double value = series.values.at(i);
        if (stats.count == 0 || value < stats.min)
            stats.min = value;
        if (stats.count == 0 || value > stats.max)
            stats.max = value;
        sum += value;
        ++stats.count;
    }
    if (stats.count > 0)
        stats.mean = sum / stats.count;
    return stats;
}

QVector<QPointF> decimatedPoints(const HistorySeries &series, double from, double to, int buckets)
{
    QVector<QPointF> points;
    const int begin = qMax(0, firstAtOrAfter(series, from) - 1);
    const int end = qMin(series.size(), firstAfter(series, to) + 1);
    const auto point = [&series](int i) {
        return QPointF(series.times.at(i), series.values.at(i));
    };
    if (end - begin <= 4 * qMax(1, buckets) || to <= from) {
        points.reserve(end - begin);
        for (int i = begin; i < end; ++i)
            points.append(point(i));
        return points;
    }
    points.reserve(4 * buckets + 2);
    const double width = (to - from) / buckets;
    int i = begin;
    while (i < end) {
        const double t = series.times.at(i);
        // Points outside the range are buckets of their own.
        const int bucket = t < from ? -1 : t > to ? buckets : qMin(buckets - 1, int((t - from) / width));
        int low = i;
        int high = i;
        int last = i;
        int j = i + 1;
        for (; j < end; ++j) {
            const double tj = series.times.at(j);
            const int bj = tj < from ? -1 : tj > to ? buckets : qMin(buckets - 1, int((tj - from) / width));
            if (bj != bucket)
                break;
            if (series.values.at(j) < series.values.at(low))
                low = j;
            if (series.values.at(j) > series.values.at(high))
                high = j;
            last = j;
        }
        // First, extremes in their own order, last: the shape of the column.
        int picks[4] = { i, qMin(low, high), qMax(low, high), last };
        int previous = -1;
        for (int pick : picks) {
            if (pick != previous)
                points.append(point(pick));
            previous = pick;
        }
        i = j;
    }
    return points;
}

int nearestPoint(const HistorySeries &series, double time)
{
    if (series.times.isEmpty())
        return -1;
    const int after = firstAtOrAfter(series, time);
    if (after >= series.size())
        return series.size() - 1;
    if (after == 0)
        return 0;
    return time - series.times.at(after - 1) <= series.times.at(after) - time ? after - 1 : after;
}
