#pragma once

#include "items/itemcsv.h"
#include "link/commsettings.h"
#include "tests/reliability/soakepisode.h"

#include <QDateTime>
#include <QList>
#include <QString>

class SimRunner;

// One write as the program reported it: a session's result, a row of
// vexa-cli's --json or a line of journal.csv.
struct SoakRow
{
    int index = -1;
    QString name;
    QString old;
    QString requested;
    QString answered;
    QString result; // ok, refused, unknown, or an error text
};

// What the program said about one operation.
struct SoakSaid
{
    QString failure; // the run itself went wrong: a crash, killed past its bound, no JSON
    qint64 elapsedMs = 0;
    int exit = -1; // vexa-cli only
    QString error; // the failure the program reported
    QString err; // vexa-cli's stderr
    qint64 peakRssKb = -1; // vexa-cli's peak resident set
    bool listOk = false; // a list read that the program took for complete
    QList<ItemRecord> list;
    bool hasRows = false; // vexa-cli: --json carried its writes / changes
    QList<SoakRow> rows; // writes; for a dry run the comparison (old: the meter, requested: the file)
    QList<SoakRow> journal; // the lines of journal.csv this operation added
    QString clock; // the clock's outcome
    QDateTime clockTime; // the time the program set
    bool flashed = false; // the program reported the update successful
    bool historyOk = false;
    QString historyText;
};

// Runs operations of the program against a meter over one line: window
// operations through their sessions and workers in this process, vexa-cli
// commands as children in the folder (where journal.csv grows).
class SoakProgram
{
public:
    SoakProgram(const SimRunner &meter, bool udp, const QString &folder);

    SoakSaid run(const SoakOperation &operation, qint64 boundMs);

private:
    SoakSaid runSession(const SoakOperation &operation, qint64 boundMs);
    SoakSaid runWorker(const SoakOperation &operation, qint64 boundMs);
    SoakSaid runCli(const SoakOperation &operation, qint64 boundMs);
    QStringList cliArguments(const SoakOperation &operation);
    QString writeApplyFile(const SoakOperation &operation);
    QString writePackage(int imageBytes);

    LinkSettings m_link;
    QString m_folder;
    int m_files = 0;
};

// Parses journal.csv text (RFC 4180; a byte order mark and the header line are skipped).
QList<SoakRow> parseJournal(const QByteArray &text);
