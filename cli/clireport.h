#pragma once

#include "cli/climeterjob.h"

struct ServiceReport;

// history ... --chart FILE: the chart of the lines read, PNG or PDF by the
// suffix; the meter's model and device-name rows are read for its title.
void writeHistoryChart(const CliTarget &target, const CliOptions &options, const QString &text, MeterReport *report);

// report FROM TO -o FILE.pdf: reads the items and the history, then writes
// the service report; the visit is the journal's lines of today for this
// meter.
void runReport(const CliTarget &target, const CliOptions &options, MeterReport *report);

// Empty when FILE names a .png or .pdf (kind "chart") or a .pdf ("report").
QString checkRenderFile(const QString &path, bool pdfOnly);

// Runs vexa-history-render (beside this program, or in libexec) with the
// job; empty on success, otherwise the message.
QString renderWithHelper(const QString &kind, const QString &path, const ServiceReport &report);
