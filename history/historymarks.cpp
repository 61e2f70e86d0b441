#include "history/historymarks.h"

#include <QCoreApplication>

double wallClockMsecs(const QDateTime &time)
{
    const QDateTime local = time.toLocalTime();
    return double(QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch());
}

QString journalEntryText(const JournalEntry &entry)
{
    if (entry.index < 0)
        return QCoreApplication::translate("HistoryMarks", "时钟设为 %1 (%2)").arg(entry.requestedValue, entry.result);
    return QCoreApplication::translate("HistoryMarks", "%1 %2: %3 → %4 (%5)")
        .arg(entry.index, 2, 10, QLatin1Char('0'))
        .arg(entry.name, entry.oldValue, entry.requestedValue, entry.result);
}

QVector<HistoryMark> historyMarks(const QVector<JournalEntry> &entries)
{
    QVector<HistoryMark> marks;
    marks.reserve(entries.size());
    for (const JournalEntry &entry : entries)
        marks.append({ wallClockMsecs(entry.time), journalEntryText(entry) });
    return marks;
}
