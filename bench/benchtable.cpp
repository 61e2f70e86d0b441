#include "bench/benchtable.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

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

QString BenchTable::markdown() const
{
    QString text;
    QTextStream out(&text);
    out << "| Operation | Transport | Size | Median time | Physical limit | Ratio | Notes |\n";
    out << "|---|---|---|---:|---:|---:|---|\n";
    for (const BenchRow &row : m_rows) {
        const bool hasLimit = row.limitMicros > 0 && row.medianMicros >= 0;
        out << "| " << row.operation << " | " << row.transport << " | " << row.size << " | "
            << formatMicros(row.medianMicros) << " | " << (row.limitMicros > 0 ? formatMicros(row.limitMicros) : "—")
            << " | " << (hasLimit ? QStringLiteral("%1×").arg(row.medianMicros / row.limitMicros, 0, 'f', 2) : "—")
            << " | " << row.note << " |\n";
    }
    return text;
}

double medianMicros(int runs, const std::function<double()> &once)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = once();
        if (t < 0)
            return -1;
        times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
