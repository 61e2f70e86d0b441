#pragma once

#include <QRectF>
#include <QStringList>

#include "items/journal.h"

#include <QVector>

class HistoryChart;
class QPainter;

// Fills a chart of its own (the service report, the command line) with the
// readings of these lines and the writes as marks; returns the quantities'
// labels.
QStringList chartHistoryLines(HistoryChart &chart, const QStringList &lines, const QVector<JournalEntry> &writes);

// Title lines (the first bold) and the chart below them, inside rect.
void paintHistoryChart(QPainter &painter, const QRectF &rect, HistoryChart &chart, const QStringList &title);

// The chart with its title as a PNG image or as a vector PDF (A4 landscape),
// chosen by the file's suffix. The file takes its name only when complete.
// Empty on success, otherwise the message to show.
QString exportHistoryChart(HistoryChart &chart, const QString &path, const QStringList &title);
