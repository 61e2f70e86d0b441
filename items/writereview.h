#pragma once

#include "items/itemsession.h"
#include "items/knownvalues.h"

#include <QVector>

class QSettings;

// One row of the review shown before a batch write.
struct ReviewRow
{
    enum class State { Changed, Unchanged, Unknown };

    ItemWriteRequest request;
    int row = 0; // the row number the list shows (from 1); 0 when not known
    QString meterValue; // as last known; empty when unknown
    State state = State::Unknown;
    bool identification = false; // rows 0 and 1 name the meter
    bool command = false;
    QString problem; // why the value cannot be written (too long, not GB2312); such rows stay unchecked
    bool checked = false; // written unless the user changes it
};

struct ReviewSummary
{
    int toWrite = 0;
    int unchanged = 0;
    int unknown = 0;
};

// The batch's rows compared with the meter: what differs is checked; equal
// rows, the identification rows, commands and values that cannot be written
// are not.
QVector<ReviewRow> buildReviewRows(const QVector<ItemWriteRequest> &requests, const KnownMeterValues &known);
ReviewSummary summarizeReview(const QVector<ReviewRow> &rows);

// items/review_before_write: off gives the plain batch write (default on).
bool readReviewBeforeWrite(const QSettings &settings);
void writeReviewBeforeWrite(QSettings &settings, bool review);
// items/backup_before_write: off writes no backup before a batch (default on).
bool readBackupBeforeWrite(const QSettings &settings);
void writeBackupBeforeWrite(QSettings &settings, bool backup);
