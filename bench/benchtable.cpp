#include "bench/benchtable.h"

#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

void BenchTable::add(const BenchRow &row)
{
    m_rows.append(row);
    // Progress on stderr while the table builds up.
    std::fprintf(stderr, "%-40s %-26s %-14s %12s  %s\n", qPrintable(row.operation), qPrintable(row.transport),
        qPrintable(row.size), qPrintable(formatMicros(row.medianMicros)), qPrintable(row.note));
}

QString formatMicros(double micros)
{
    if (micros < 0)
        return QStringLiteral("failed");
    if (micros < 1000)
        return QStringLiteral("%1 µs").arg(micros, 0, 'f', 0);
    if (micros < 10000)
        return QStringLiteral("%1 ms").arg(micros / 1000, 0, 'f', 2);
    if (micros < 1000000)
        return QStringLiteral("%1 ms").arg(micros / 1000, 0, 'f', 1);
    return QStringLiteral("%1 s").arg(micros / 1e6, 0, 'f', 2);
}

namespace {

QString spread(const BenchRow &row)
{
    if (row.runs.size() < 2 || row.medianMicros < 0)
        return QStringLiteral("1 run");
    const auto [low, high] = std::minmax_element(row.runs.begin(), row.runs.end());
    return QStringLiteral("%1 – %2 (%3 runs)").arg(formatMicros(*low), formatMicros(*high)).arg(row.runs.size());
}

QString ownTime(const BenchRow &row)
{
    if (row.limitMicros <= 0 || row.medianMicros < 0 || row.exchanges <= 0)
        return QStringLiteral("—");
    return formatMicros(qMax(0.0, row.medianMicros - row.limitMicros) / row.exchanges);
}

} // namespace

QString BenchTable::markdown() const
{
    QString text;
    QTextStream out(&text);
    out << QStringLiteral("| Operation | Transport | Size | Median time | Spread (fastest – slowest) | Physical limit "
                          "| Ratio | Program's own time per exchange | Notes |\n");
    out << "|---|---|---|---:|---:|---:|---:|---:|---|\n";
    for (const BenchRow &row : m_rows) {
        const bool hasLimit = row.limitMicros > 0 && row.medianMicros >= 0;
        out << "| " << row.operation << " | " << row.transport << " | " << row.size << " | "
            << formatMicros(row.medianMicros) << " | " << spread(row) << " | "
            << (row.limitMicros > 0 ? formatMicros(row.limitMicros) : "—") << " | "
            << (hasLimit ? QStringLiteral("%1×").arg(row.medianMicros / row.limitMicros, 0, 'f', 2) : "—") << " | "
            << ownTime(row) << " | " << row.note << " |\n";
    }
    return text;
}

QStringList BenchTable::belowFloor() const
{
    QStringList rows;
    for (const BenchRow &row : m_rows) {
        if (row.limitMicros > 0 && row.medianMicros >= 0 && row.medianMicros < row.limitMicros)
            rows << QStringLiteral("%1, %2, %3: %4 against a limit of %5")
                        .arg(row.operation, row.transport, row.size, formatMicros(row.medianMicros),
                            formatMicros(row.limitMicros));
    }
    return rows;
}

double medianMicros(int runs, const std::function<double()> &once, std::vector<double> *all)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = once();
        if (t < 0)
            return -1;
        times.push_back(t);
    }
    if (all)
        *all = times;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
