#include "history/historyexport.h"

#include "base/outputfile.h"
#include "history/historycsvwriter.h"
#include "history/historypdflayout.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QSaveFile>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

#include <memory>

QStringList historyTextLines(const QString &text)
{
    QStringList lines;
    QString copy = text;
    QTextStream stream(&copy, QIODevice::ReadOnly);
    QString line;
    while (stream.readLineInto(&line))
        lines.append(line);
    return lines;
}

QStringList historyFields(const QString &line)
{
    // Called for every line of an export: a plain scan, no expression.
    QStringList fields;
    const int size = line.size();
    int start = 0;
    for (int i = 0; i <= size; ++i) {
        if (i < size && line.at(i) != QLatin1Char(' ') && line.at(i) != QLatin1Char(','))
            continue;
        const QStringRef field = line.midRef(start, i - start).trimmed();
        if (!field.isEmpty())
            fields.append(field.toString());
        start = i + 1;
    }
    return fields;
}

int historyColumnCount(const QStringList &lines)
{
    int count = 0;
    for (const QString &line : lines) {
        count = historyFields(line).size();
        if (count >= 2)
            break;
    }
    return count;
}

QStringList historyCells(const QString &line, int columns)
{
    QStringList fields = historyFields(line);
    if (fields.size() > 2 && fields.size() > columns) {
        fields[0] += QLatin1Char(' ') + fields.at(1);
        fields.removeAt(1);
    }
    while (fields.size() > columns)
        fields.removeLast();
    return fields;
}

HistoryExportResult exportHistoryCsv(const QString &path, const QString &text, QString *reason)
{
    HistoryCsvWriter writer;
    if (!writer.open(path)) {
        if (reason)
            *reason = writer.errorText();
        return HistoryExportResult::OpenFailed;
    }
    if (!writer.write(text) || !writer.close()) {
        if (reason)
            *reason = writer.errorText();
        return HistoryExportResult::WriteFailed;
    }
    return HistoryExportResult::Ok;
}

namespace {

// The full grid of a page, drawn as one path.
QVector<QLine> gridLines(const HistoryPdfTable &t)
{
    QVector<QLine> lines;
    for (int k = 0; k <= t.rowsPerPage; ++k) {
        const int y = t.top + k * t.rowHeight;
        lines.append(QLine(t.left, y, t.left + t.width, y));
    }
    const int bottom = t.top + t.rowsPerPage * t.rowHeight;
    int x = t.left;
    for (int c = 0; c <= t.columns; ++c) {
        lines.append(QLine(x, t.top, x, bottom));
        x += c == 0 ? t.firstWidth : t.otherWidth;
    }
    return lines;
}

void drawPiece(QPainter &painter, const HistoryPdfPiece &piece, const QRawFont &font)
{
    if (piece.glyphs.isEmpty()) {
        if (!piece.text.isEmpty())
            painter.drawText(piece.origin, piece.text);
        return;
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(piece.glyphs);
    run.setPositions(piece.positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

// "n / m" centred under the table, in the margin below it. The table keeps
// its rows: the number takes a smaller font where the margin is narrow.
void setUpPageNumbers(QPainter &painter, HistoryPdfTable &table, int tableBottom, int pageHeight)
{
    const int room = pageHeight - tableBottom;
    table.numbered = room >= 4;
    if (!table.numbered)
        return;
    // Metrics of the painter: the writer's resolution, not the screen's.
    QFont font = table.font;
    font.setPixelSize(qMax(1, qMin(painter.fontMetrics().height(), room * 3 / 5)));
    painter.setFont(font);
    table.numberFont = painter.font();
    const QFontMetrics metrics = painter.fontMetrics();
    table.numberBaseline = tableBottom + (room - metrics.height()) / 2 + metrics.ascent();
    painter.setFont(table.font);
}

} // namespace

HistoryExportResult exportHistoryPdf(const QString &path, const QStringList &lines, const HistoryPdfOptions &options,
    const HistoryExportControl &control, QString *reason)
{
    const auto cancelled = [&control] {
        return control.cancel && control.cancel->load();
    };
    const auto failed = [reason](HistoryExportResult result, const QString &why) {
        if (reason)
            *reason = why;
        return result;
    };
    if (cancelled())
        return HistoryExportResult::Cancelled;
    // The finished document is renamed over the target: a FIFO or a device
    // there would be replaced by a regular file.
    const QString refused = OutputFile::checkTarget(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
    if (!refused.isEmpty())
        return failed(HistoryExportResult::OpenFailed, refused);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(HistoryExportResult::OpenFailed, file.errorString());

    auto writer = std::make_unique<QPdfWriter>(&file);
    writer->setPageSize(QPageSize(QPageSize::A4));
    auto painter = std::make_unique<QPainter>(writer.get());
    if (options.font)
        painter->setFont(*options.font);
    painter->setPen(
        QPen(QBrush(QColor(0, 0, 0, 255), Qt::SolidPattern), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));

    const int pageWidth = writer->width();
    const int pageHeight = writer->height();
    HistoryPdfTable table;
    table.top = 100;
    table.left = pageWidth / 16;
    const int right = pageWidth - pageWidth / 16 - 1;
    const int bottom = pageHeight - 101;
    table.width = right - table.left + 1;

    HistoryExportResult result = HistoryExportResult::Ok;
    table.columns = historyColumnCount(lines);
    table.font = painter->font();
    const QFontMetrics metrics = painter->fontMetrics();
    table.baseline = metrics.height();
    table.rowHeight = table.baseline + 50;
    table.rowsPerPage = (bottom - table.top + 1) / table.rowHeight;
    // Without two columns there is no table; without one row per page the
    // page count cannot be computed.
    if (table.columns < 2 || table.rowsPerPage <= 0) {
        result = HistoryExportResult::FormatError;
    } else {
        const int w = metrics.horizontalAdvance(QStringLiteral("1900-01-01 00:00:00"));
        table.firstWidth = w + w / 4;
        table.otherWidth = (table.width - table.firstWidth) / (table.columns - 1);
        const int rows = options.rowCount < 0 ? lines.size() : options.rowCount;
        table.pages = (rows + table.rowsPerPage - 1) / table.rowsPerPage;

        const QVector<QLine> grid = gridLines(table);
        setUpPageNumbers(*painter, table, table.top + table.rowsPerPage * table.rowHeight, pageHeight);
        // Glyphs shaped on the layout thread are drawn with this thread's
        // own engines of the same fonts.
        const QRawFont font = QRawFont::fromFont(table.font);
        const QRawFont numberFont = QRawFont::fromFont(table.numberFont);
        HistoryPdfLayout layout(lines, table);
        for (int page = 0; page < table.pages; ++page) {
            if (cancelled()) {
                result = HistoryExportResult::Cancelled;
                break;
            }
            const HistoryPdfPage laidOut = layout.takePage();
            painter->drawLines(grid);
            for (const HistoryPdfPiece &piece : laidOut.cells)
                drawPiece(*painter, piece, font);
            painter->setFont(table.numberFont);
            drawPiece(*painter, laidOut.number, numberFont);
            painter->setFont(table.font);
            if (page + 1 < table.pages)
                writer->newPage();
            if (control.progress)
                control.progress(qMin(rows, (page + 1) * table.rowsPerPage), rows);
        }
    }

    // Painter, then writer, then file: the writer completes the document.
    painter->end();
    painter.reset();
    writer.reset();
    if (result == HistoryExportResult::Cancelled) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return failed(HistoryExportResult::WriteFailed, file.errorString());
    return result;
}
