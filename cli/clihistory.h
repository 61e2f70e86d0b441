#pragma once

#include "cli/climeterjob.h"
#include "link/linkfailure.h"

#include <atomic>
#include <functional>

// The most a history answer may bring: far beyond any meter's log (a
// minute's record for a year is about 25 MiB), and what keeps a meter that
// never stops from filling the disk or the memory.
constexpr qint64 kMaxHistoryAnswerBytes = 64 * 1024 * 1024;

// history FROM TO: the meter's history lines between two days through the
// history reader; to stdout, or to -o FILE (CSV) and --pdf FILE (A4 table).
// Lines go out as they arrive (stdout, CSV); at kMaxHistoryAnswerBytes the
// reading stops, what came so far stays and the run ends with exit 2 (no
// PDF of a cut answer).
void runHistory(const CliTarget &target, const CliOptions &options, MeterReport *report);

// The history between the days of the arguments, read on this thread: the
// text to onText as it arrives, until the answer ends, fails or *stop.
LinkFailure readHistory(const CliTarget &target, const CliOptions &options,
    const std::function<void(const QString &text)> &onText, const std::atomic_bool *stop);

// Empty when FROM and TO are yyyy-MM-dd days in order, otherwise the message.
QString checkHistoryDates(const QStringList &arguments);
