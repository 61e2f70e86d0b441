#pragma once

#include <QString>

struct ServiceReport;

// The service report as one A4 PDF: the meter, the items as last read, the
// visit's writes and clock setting, then the history chart of the range.
// The file takes its name only when complete. Empty on success, otherwise
// the message to show.
QString writeServiceReport(const QString &path, const ServiceReport &report);
