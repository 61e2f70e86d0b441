#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

// Outcome of a history export; the dialog turns it into its message.
enum class HistoryExportResult {
    Ok,
    OpenFailed, // the file could not be opened for writing
    FormatError, // fewer than two columns, or not one row fits a page
};

struct HistoryPdfOptions
{
    // Rows of the table; negative means one row per line. The dialog passes
    // its document's line count, which includes the empty last line.
    int rowCount = -1;
    // Unset: the painter's default font.
    std::optional<QFont> font;
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

// Writes the text unchanged through the locale's codec in text mode.
HistoryExportResult exportHistoryCsv(const QString &path, const QString &text);

// An A4 table, full grid on every page. On FormatError the file is left as a
// PDF without the table.
HistoryExportResult exportHistoryPdf(
    const QString &path, const QStringList &lines, const HistoryPdfOptions &options = {});
