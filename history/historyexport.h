#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// Outcome of a history export; the dialog turns it into its message.
enum class HistoryExportResult {
    Ok,
    OpenFailed, // the file could not be opened for writing, or is no regular file
    WriteFailed, // writing or completing the file failed (a full disk)
    FormatError, // fewer than two columns, or not one row fits a page
    Cancelled, // stopped on request; no file was written
};

struct HistoryPdfOptions
{
    // Rows of the table; negative means one row per line. The dialog passes
    // its document's line count, which includes the empty last line.
    int rowCount = -1;
    // Unset: the painter's default font.
    std::optional<QFont> font;
};

// Watching and stopping a long export. Both are used on the exporting
// thread; the flag may be set from any other.
struct HistoryExportControl
{
    // Rows written so far and rows in all, once per page.
    std::function<void(int done, int total)> progress;
    // Seen before every page: the export stops and leaves no file behind.
    const std::atomic<bool> *cancel = nullptr;
};

// Lines as a text stream reads them: split at LF, a CR before it dropped, no
// extra empty line after a final line end.
QStringList historyTextLines(const QString &text);

// Fields of one record: separated by blanks and commas, runs count as one.
QStringList historyFields(const QString &line);

// The first line with two or more fields decides the column count; earlier
// lines are still printed. Returns the field count of the last line looked at.
int historyColumnCount(const QStringList &lines);

// A line's cells for `columns` columns: a date and a time given as two fields
// are joined into one cell when there are too many fields, then surplus
// fields at the end are dropped.
QStringList historyCells(const QString &line, int columns);

// Writes the text through the locale's codec in text mode, unchanged but for
// control characters other than line ends (HistoryCsvWriter). On OpenFailed
// and WriteFailed, `reason` gets the system's reason.
HistoryExportResult exportHistoryCsv(const QString &path, const QString &text, QString *reason = nullptr);

// An A4 table, full grid on every page. On FormatError the file is left as a
// PDF without the table. The document is written beside the target and takes
// its name only when complete: a cancelled or failed export leaves an
// existing file as it was. Cells are laid out on a second thread while this
// one draws and compresses the pages. A target that is no regular file (a
// FIFO, a device) is refused, never replaced.
HistoryExportResult exportHistoryPdf(const QString &path, const QStringList &lines,
    const HistoryPdfOptions &options = {}, const HistoryExportControl &control = {}, QString *reason = nullptr);
