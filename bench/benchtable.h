#pragma once

#include <QString>
#include <QVector>

#include <functional>
#include <vector>

// One line of the result table. Times in microseconds; a limit of 0 means
// the operation has no link to compare with.
struct BenchRow
{
    QString operation;
    QString transport;
    QString size;
    double medianMicros = -1; // negative: failed
    double limitMicros = 0;
    QString note;
    // Every run's time, for the spread; exchanges with the meter per run, for
    // the program's own time per exchange.
    std::vector<double> runs;
    int exchanges = 0;
};

class BenchTable
{
public:
    void add(const BenchRow &row);
    const QVector<BenchRow> &rows() const { return m_rows; }
    // Markdown table, one row per operation.
    QString markdown() const;
    // Rows whose time is below their physical limit: that limit is no floor.
    QStringList belowFloor() const;

private:
    QVector<BenchRow> m_rows;
};

// Runs `once` `runs` times (each returns microseconds, negative on failure)
// and gives the median, or -1 if any run failed. Every time goes to `all`.
double medianMicros(int runs, const std::function<double()> &once, std::vector<double> *all = nullptr);

QString formatMicros(double micros);
