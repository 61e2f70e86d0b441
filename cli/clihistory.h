#pragma once

#include "cli/climeterjob.h"

// history FROM TO: the meter's history lines between two days through the
// history reader; to stdout, or to -o FILE (CSV) and --pdf FILE (A4 table).
void runHistory(const CliTarget &target, const CliOptions &options, MeterReport *report);

// Empty when FROM and TO are yyyy-MM-dd days in order, otherwise the message.
QString checkHistoryDates(const QStringList &arguments);
