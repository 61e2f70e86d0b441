#pragma once

#include "cli/climeterjob.h"

#include <QVector>

// Serves the meters with up to `jobs` of them at once. Meters on the same
// serial port share one line and are served one after the other. Reports
// come back in the order of the targets.
QVector<MeterReport> runFleet(
    const QVector<CliTarget> &targets, const CliOptions &options, int jobs, Journal &journal, CliProgress *progress);
