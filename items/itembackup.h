#pragma once

#include "items/itemcsv.h"
#include "items/knownvalues.h"
#include "items/writereview.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QVector>

// What the meter held before a batch write changed it, kept in the working
// folder as backups/<model>_<yyyyMMdd-HHmmss>.csv in the item export format,
// so that importing the file restores it. A name already taken gets "-2",
// "-3" ...; no file is ever replaced.
class ItemBackup
{
    Q_DECLARE_TR_FUNCTIONS(ItemBackup)

public:
    static constexpr const char *kFolder = "backups";

    // Makes the folder when missing. Empty when it is there, otherwise the
    // message (nothing may be written then) with the reason.
    static QString prepareFolder(const QString &workingFolder);

    // Writes the items as the meter reported them. A value the format cannot
    // carry (a comma, a line break) is left out of its line, which then
    // reads as "no value" rather than as another value.
    static ItemBackup write(
        const QString &workingFolder, const QString &model, const QDateTime &when, const QVector<ItemRecord> &records);

    // The newest backup (by time written); empty when there is none.
    static QString newest(const QString &workingFolder);

    // The review of a restore from a backup read as an import reads it: every
    // item with a value; an item the meter has a value for but the backup
    // could not hold one is listed unchecked with the reason. Rows 0 and 1
    // and commands are not listed (an import carries no value for them).
    static QVector<ReviewRow> restoreRows(const QVector<ItemRecord> &backup, const KnownMeterValues &known);

    bool ok() const { return m_error.isEmpty(); }
    // As the journal names it: relative to the working folder ("backups/....csv").
    QString fileName() const { return m_fileName; }
    QString path() const { return m_path; }
    // Why nothing was written, the reason as a second line; the batch must not start.
    QString errorText() const { return m_error; }

private:
    QString m_fileName;
    QString m_path;
    QString m_error;
};
