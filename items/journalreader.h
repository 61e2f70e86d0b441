#pragma once

#include "items/journal.h"

#include <QVector>

// Reads journal.csv back: the lines Journal::append wrote, oldest first.
// Only the newest kMaxJournalReadBytes are read, so a journal that has grown
// for years costs no more than that; lines that do not parse are skipped.
class JournalReader
{
public:
    static constexpr qint64 kMaxJournalReadBytes = 8 * 1024 * 1024;

    explicit JournalReader(const QString &path = QStringLiteral("journal.csv"));

    // The entries of the meter at `connection` (LinkSettings::describe())
    // and `address` whose local time lies in [from, to).
    QVector<JournalEntry> entriesFor(
        const QString &connection, int address, const QDateTime &from, const QDateTime &to) const;
    const QVector<JournalEntry> &entries() const { return m_entries; }

    // One CSV record (RFC 4180) into its fields.
    static QStringList splitCsvRecord(const QString &record);
    static bool parseLine(const QString &record, JournalEntry *entry);

private:
    QVector<JournalEntry> m_entries;
};
