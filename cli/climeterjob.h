#pragma once

#include "cli/clioptions.h"
#include "cli/clitarget.h"
#include "fleet/fleetrunner.h"
#include "items/identificationrows.h"
#include "items/itemsession.h"

#include <QJsonObject>
#include <QString>

struct CliAssignment;
class CliProgress;
class Journal;

// The outcome for one meter: its exit status, what goes to stdout and the
// JSON line that replaces it with --json.
struct MeterReport
{
    QString name;
    // Done or Failed by the exit status; Skipped (the reason in `error`,
    // exit 0) and NotStarted are said apart.
    FleetOutcome outcome = FleetOutcome::Done;
    int exit = CliOk;
    QString error;
    QString out;
    QJsonObject json;
};

// Runs the command of the options against one meter on the calling thread:
// opens a channel from the target's settings, works through the item session,
// records every write in the journal.
class CliMeterJob
{
public:
    CliMeterJob(const CliTarget &target, const CliOptions &options, Journal &journal, CliProgress *progress);

    MeterReport run();

private:
    void readItems(ItemSession &session);
    // history FROM TO; in a fleet into NAME.csv of the -o folder.
    void writeHistory();
    // The meter's whole list, with progress on a terminal; its identification
    // rows are noted for the journal.
    ItemListResult readMeterList(ItemSession &session, QVector<ItemRecord> *records);
    void setItems(ItemSession &session);
    // Reads the list and finds the items named in NAME=VALUE; false when the
    // run ends here.
    bool resolveNames(ItemSession &session, QVector<CliAssignment> &assignments);
    // Why this value is not written to the item as it is; empty when it is.
    QString refusedAssignment(int index, const QString &name, int fields, const QString &value) const;
    void applyFile(ItemSession &session);
    // Saves what the meter holds before apply writes; false when the run ends here.
    bool backUp(const QVector<ItemRecord> &records);
    void diffFile(ItemSession &session);
    void setClock(ItemSession &session);
    // A failure: the exit status is the highest so far, the error the first
    // one told. stop() is for the failure that ends the run: its error is shown.
    void fail(int exit, const QString &error);
    void stop(int exit, const QString &error);
    // A link failure as this run tells it.
    QString told(const LinkFailure &failure) const;
    // A write's outcome as the run reports it; false when the run ends here.
    bool report(const ItemWriteResult &write, int index, const QString &value);
    void identify(const ItemRecord &record);
    void journalWrite(int index, const QString &name, const QString &oldValue, const QString &requested,
        const QString &answered, const QString &result);
    // Where `items` writes: the file named by -o, or, for a fleet or a
    // folder, NAME.csv in that folder (named by the program).
    bool outputNamedByProgram() const;
    QString outputPath() const;
    // Empty when the output may be written: a regular file or none, and for
    // a name of the program's own none that exists or is its own file.
    QString checkOutputPath() const;

    CliTarget m_target;
    CliOptions m_options;
    Journal &m_journal;
    CliProgress *m_progress;
    MeterReport m_report;
    MeterIdentity m_identity;
    QString m_backup; // the copy made before this run's writes, as the journal names it
};
