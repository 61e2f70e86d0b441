#pragma once

#include "cli/climeterjob.h"

// The commands that run one of the program's workers for a single meter.

// flash PACKAGE: the firmware update of the update dialog; progress on stderr.
void runFlash(const CliTarget &target, const CliOptions &options, CliProgress *progress, MeterReport *report);

// monitor: the line monitor for --seconds, lines to stdout as the monitor
// dialog shows them (text, --hex or --both); debug output on unless --no-debug.
void runMonitor(const CliTarget &target, const CliOptions &options, MeterReport *report);

// search: the device search broadcast; one line per answering meter.
void runSearch(const CliOptions &options, MeterReport *report);
