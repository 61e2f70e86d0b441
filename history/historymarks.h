#pragma once

#include "items/journal.h"

#include <QString>
#include <QVector>

// A write to the meter drawn on the history chart: an item written or the
// clock set, at the PC's local time (the meter's clock is set from it).
struct HistoryMark
{
    double time = 0; // wall-clock milliseconds, as parseHistoryTime gives
    QString text;
};

// "05 波特率: 9600 → 19200 (ok)" or "时钟设为 2024-03-01 08:00:00 (ok)".
QString journalEntryText(const JournalEntry &entry);
QVector<HistoryMark> historyMarks(const QVector<JournalEntry> &entries);
// A local time as the chart counts time.
double wallClockMsecs(const QDateTime &time);
