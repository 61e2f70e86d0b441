#pragma once

#include "sim/simrequest.h"
#include "sim/simtruth.h"
#include "tests/reliability/soakepisode.h"
#include "tests/reliability/soakprogram.h"

#include <QList>
#include <QString>

// One place where the program told something the meter's truth denies, or
// broke a bound.
struct SoakViolation
{
    QString kind; // false-ok, false-refused, error-after-send, needless-unknown, wrong-row, false-mismatch,
                  // stray-write, limits, journal, json, exit, over-bound, memory, flash-false-success, history
    QString step;
    QString said;
    QString truth;

    QString text() const;
};

// Everything known about one operation once it ended.
struct SoakEvidence
{
    SoakOperation operation;
    SoakSaid said;
    SimTruth before;
    SimTruth after;
    QList<SimRequest> sent; // what reached the meter's line during the operation
    qint64 boundMs = 0;
    QString historyTruth; // the text the meter sends for the history asked for
};

// The second line of an unknown outcome.
extern const char kUnknownOutcomeLine[];
// Highest peak RSS of one vexa-cli run.
constexpr qint64 kCliPeakRssBoundKb = 160 * 1024;

// Holds what the program said against the meter's truth: success only when
// the meter holds it, refused only when it does not, unknown only when it
// cannot be known, an error only when nothing was sent; no write on an item
// not asked for; the bound, the journal, --json and the exit status.
QList<SoakViolation> judgeSoakOperation(const SoakEvidence &evidence);
