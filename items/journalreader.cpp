#include "items/journalreader.h"

#include <QFile>

JournalReader::JournalReader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file.size();
    QByteArray bytes;
    if (size > kMaxJournalReadBytes) {
        file.seek(size - kMaxJournalReadBytes);
        bytes = file.read(kMaxJournalReadBytes);
        // Start at a line of its own.
        bytes = bytes.mid(bytes.indexOf("\r\n") + 2);
    } else {
        bytes = file.readAll();
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);

    // Records end at CRLF outside quotes; a quoted field may hold line ends.
    int start = 0;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('\n')) {
            int end = i;
            if (end > start && text.at(end - 1) == QLatin1Char('\r'))
                --end;
            JournalEntry entry;
            if (parseLine(text.mid(start, end - start), &entry))
                m_entries.append(entry);
            start = i + 1;
        }
    }
}

QStringList JournalReader::splitCsvRecord(const QString &record)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < record.size(); ++i) {
        const QChar c = record.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < record.size() && record.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

bool JournalReader::parseLine(const QString &record, JournalEntry *entry)
{
    const QStringList fields = splitCsvRecord(record);
    // Fewer columns in journals begun before the row or backup column existed.
    if (fields.size() < Journal::kColumnsWithoutRow || fields.size() > Journal::kColumns)
        return false;
    entry->time = QDateTime::fromString(fields.at(0), Qt::ISODate);
    bool addressOk = false;
    entry->deviceAddress = fields.at(2).toInt(&addressOk);
    if (!entry->time.isValid() || !addressOk)
        return false;
    entry->connection = fields.at(1);
    entry->model = fields.at(3);
    entry->deviceName = fields.at(4);
    bool indexOk = false;
    entry->index = fields.at(5).toInt(&indexOk);
    if (!indexOk)
        entry->index = -1;
    entry->name = fields.at(6);
    entry->oldValue = fields.at(7);
    entry->requestedValue = fields.at(8);
    entry->answeredValue = fields.at(9);
    entry->result = fields.at(10);
    entry->row = fields.value(11).toInt();
    entry->backup = fields.value(12);
    return true;
}

QVector<JournalEntry> JournalReader::entriesFor(
    const QString &connection, int address, const QDateTime &from, const QDateTime &to) const
{
    QVector<JournalEntry> found;
    for (const JournalEntry &entry : m_entries) {
        if (entry.connection == connection && entry.deviceAddress == address && entry.time >= from && entry.time < to)
            found.append(entry);
    }
    return found;
}
