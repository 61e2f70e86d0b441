#pragma once

#include <QString>

// What became of one write (an item, the clock), as far as the meter proved it.
enum class WriteOutcome {
    Ok, // the meter holds the value: its answer or a read-back says so
    Refused, // the meter answered, or read back, another value
    Unknown, // no answer of its own, or none that could be judged: it may hold the value
    NotSent, // the value was refused before anything was sent
};

// The word journal.csv and the command line's JSON record: ok, refused,
// unknown or not-sent.
QString writeOutcomeWord(WriteOutcome outcome);

// A failure as shown: its own text, then, when the outcome is unknown, the
// line that says the meter may have taken the value; further lines follow.
QString withOutcomeLine(const QString &error, WriteOutcome outcome);
