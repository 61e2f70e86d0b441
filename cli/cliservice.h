#pragma once

#include "cli/climeterjob.h"

// The commands that run one of the program's workers for a single meter.

// flash PACKAGE: the firmware update of the update dialog, journaled;
// progress on stderr. With --skip-model-mismatch a meter of another model is
// skipped (only identified).
void runFlash(
    const CliTarget &target, const CliOptions &options, Journal &journal, CliProgress *progress, MeterReport *report);

// monitor: the line monitor for --seconds, lines to stdout as the monitor
// dialog shows them (text, --hex or --both); debug output on unless --no-debug.
void runMonitor(const CliTarget &target, const CliOptions &options, MeterReport *report);

// search: the device search broadcast; one line per answering meter.
void runSearch(const CliOptions &options, MeterReport *report);
