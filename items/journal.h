#pragma once

#include "link/commsettings.h"

#include <QDateTime>
#include <QString>

// One write attempt as the journal records it.
struct JournalEntry
{
    QDateTime time; // local time of the attempt
    QString connection; // LinkSettings::describe()
    int deviceAddress = 0;
    QString model; // the meter's identification rows as last read
    QString deviceName;
    int index = -1; // -1: no item (the clock)
    QString name;
    QString oldValue;
    QString requestedValue;
    QString answeredValue;
    QString result; // "ok", "refused" or the link error text
    int row = 0; // the row number the window showed (from 1); 0: none (vexa-cli, the clock)
    QString backup = QString(); // the copy made before this batch ("backups/....csv"); empty: none
};

// Appends write attempts to journal.csv: UTF-8 with a byte order mark, one
// header line when the file is new, RFC 4180 quoting, CRLF line ends. The
// file is only ever appended to, and only if it is a regular file. A journal
// begun before the row or backup column existed keeps its columns. Safe to
// use from several threads.
class Journal
{
public:
    // Columns of journals begun before the row column, before the backup
    // column, and now.
    static constexpr int kColumnsWithoutRow = 11;
    static constexpr int kColumnsWithoutBackup = 12;
    static constexpr int kColumns = 13;

    explicit Journal(const QString &path = QStringLiteral("journal.csv"));

    // False when the line could not be written; errorText() says why.
    bool append(const JournalEntry &entry);
    QString errorText() const { return m_errorText; }
    QString path() const { return m_path; }

    // An attempt made now on the meter behind link, whose identification
    // rows were last read as model and deviceName.
    static JournalEntry entryNow(const LinkSettings &link, const QString &model, const QString &deviceName, int index,
        const QString &name, const QString &oldValue, const QString &requested, const QString &answered,
        const QString &result);

    static QString headerLine();
    // The header of journals begun before the row column existed.
    static QString headerLineWithoutRow();
    // The header of journals begun before the backup column existed.
    static QString headerLineWithoutBackup();
    // A cell of text from the meter or a file: control characters dropped
    // (a tab stays) and, where a spreadsheet would start a formula, a
    // leading apostrophe.
    static QString meterCell(const QString &text);
    static QString line(const JournalEntry &entry, int columns = kColumns);
    // The field as RFC 4180 wants it: quoted when it holds a comma, quote,
    // CR or LF, inner quotes doubled.
    static QString field(const QString &text);

private:
    QString m_path;
    QString m_errorText;
};
