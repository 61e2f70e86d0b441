#pragma once

#include "items/identificationrows.h"
#include "items/itemcsv.h"
#include "link/commsettings.h"
#include "link/devicechannel.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <atomic>
#include <memory>

class Journal;

// What a meter's list was when a fleet action read it.
struct MeterReading
{
    QVector<ItemRecord> records;
    MeterIdentity identity;
};

// A file beside one meter's list: what applying it would write.
struct MeterApplyCheck
{
    bool otherModel = false; // the file is another model's: nothing is written
    int differing = 0;
    QVector<ItemRecord> writes; // the file's values of the differing rows
    QString text; // "2 项不同", or why the file is refused
};

// How one step on one meter ended, in words for its row.
struct MeterStepResult
{
    bool ok = false;
    bool answered = false; // the meter answered something in this step
    bool stopped = false; // Cancel ended it before anything was changed
    QString text;
};

// One meter of a fleet action, on the calling thread (a fleet runner's
// worker makes it there): its own channel, the item session, and the write
// safety every write passes (backup first, each write journaled with the
// meter's identification and decided by its own answer). A set stop flag
// ends the work after the exchange on the line.
class MeterWork
{
public:
    MeterWork(const LinkSettings &link, Journal &journal, const std::atomic_bool *stop = nullptr);
    ~MeterWork();

    // Reads the whole list; the reading is kept for the steps after it.
    MeterStepResult readList();
    const MeterReading &reading() const { return m_reading; }
    // A reading made before (another thread, another channel).
    void setReading(const MeterReading &reading) { m_reading = reading; }

    // The reading as an item file, written only as a new file.
    MeterStepResult saveList(const QString &path) const;
    // The file (read with its identification rows) against the reading.
    MeterApplyCheck check(const QVector<ItemRecord> &file) const;
    // Backs up the reading in the working folder, then writes the rows in
    // order and stops at the first write the meter did not confirm.
    MeterStepResult apply(const QVector<ItemRecord> &writes, const QString &workingFolder);
    MeterStepResult syncClock(const QDateTime &localTime);
    // Why a write could not be journaled; empty when every one was. Give
    // each MeterWork a Journal of its own so that this is its own failure.
    QString journalError() const { return m_journalError; }

private:
    // False (and the failure in the result) when the channel cannot open.
    bool open(MeterStepResult *result);
    void journal(int index, const QString &name, const QString &oldValue, const QString &requested,
        const QString &answered, const QString &result, const QString &backup = QString());

    LinkSettings m_link;
    Journal &m_journal;
    const std::atomic_bool *m_stop;
    std::unique_ptr<DeviceChannel> m_channel;
    MeterReading m_reading;
    QString m_journalError;
};

// A link failure in one line, for a row of a table.
QString oneLineFailure(const LinkFailure &failure);
