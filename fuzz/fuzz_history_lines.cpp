// The history answer: unframed GB2312 text in chunks as the channel delivers
// them, cut into lines by the reader, then split into fields for the export,
// the table and the chart's readings.
#include "fuzzsupport.h"
#include "history/historyexport.h"
#include "history/historylines.h"
#include "history/historyreadings.h"
#include "history/historytablemodel.h"
#include "history/historyrecord.h"

#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    QStringList lines;
    {
        HistoryLines reader;
        QByteArray joined;
        for (const QByteArray &chunk : fuzzChunks(input)) {
            lines << reader.feed(chunk);
            joined += chunk;
        }
        // A batch carries whole lines, several at once.
        for (const QString &batch : lines)
            FUZZ_CHECK(batch.endsWith(QLatin1Char('\n')));
        FUZZ_CHECK(lines.join(QString()).count(QLatin1Char('\n')) == joined.count('\n'));
    }

    // The dialog's text as the export reads it.
    const QString text = lines.join(QString());
    const QStringList exportLines = historyTextLines(text);
    const int columns = historyColumnCount(exportLines);
    for (const QString &line : exportLines) {
        const QStringList fields = historyFields(line);
        for (const QString &field : fields)
            FUZZ_CHECK(!field.isEmpty());
        if (columns >= 2)
            FUZZ_CHECK(historyCells(line, columns).size() <= qMax(columns, fields.size()));
    }

    // Table and chart: every line a row, every reading in a series or counted.
    HistoryTableModel table;
    table.appendLines(exportLines);
    FUZZ_CHECK(table.rowCount() == exportLines.size());
    FUZZ_CHECK(table.columnCount() <= kMaxHistoryColumns);
    table.sort(1, Qt::DescendingOrder);
    for (int row = 0; row < table.rowCount(); ++row)
        table.index(row, 0).data();
    HistoryReadings readings;
    for (const QString &line : exportLines)
        readings.addLine(line);
    FUZZ_CHECK(readings.series().size() <= HistoryReadings::kMaxSeries);
    FUZZ_CHECK(readings.linesWithoutTime() + readings.linesWithoutNumber() <= exportLines.size());
    for (const HistorySeries &series : readings.sortedSeries()) {
        FUZZ_CHECK(series.times.size() == series.values.size());
        FUZZ_CHECK(std::is_sorted(series.times.cbegin(), series.times.cend()));
        FUZZ_CHECK(decimatedPoints(series, series.times.first(), series.times.last(), 50).size() <= series.size());
    }
    return 0;
}
