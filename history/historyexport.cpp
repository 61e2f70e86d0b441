#include "history/historyexport.h"

#include "history/historypdflayout.h"

#include <QFile>
#include <QGlyphRun>
#include <QRawFont>
#include <QSaveFile>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextCodec>
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
    static const QRegularExpression kSeparators(QStringLiteral("[ ,]"));
    QStringList fields;
    const QStringList parts = line.split(kSeparators);
    for (const QString &part : parts) {
        const QString field = part.trimmed();
        if (!field.isEmpty())
            fields.append(field);
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

HistoryExportResult exportHistoryCsv(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return HistoryExportResult::OpenFailed;
    QTextStream stream(&file);
    stream.setCodec(QTextCodec::codecForLocale());
    stream << text;
    stream.flush();
    file.close();
    return HistoryExportResult::Ok;
}

namespace {

void drawGrid(QPainter &painter, const HistoryPdfTable &t, int top, int rowHeight, int tableWidth)
{
    for (int k = 0; k <= t.rowsPerPage; ++k) {
        const int y = top + k * rowHeight;
        painter.drawLine(t.left, y, t.left + tableWidth, y);
    }
    const int bottom = top + t.rowsPerPage * rowHeight;
    int x = t.left;
    for (int c = 0; c <= t.columns; ++c) {
        painter.drawLine(x, top, x, bottom);
        x += c == 0 ? t.firstWidth : t.otherWidth;
    }
}

void drawCells(
    QPainter &painter, const HistoryPdfPage &page, const QRawFont &font, int top, int rowHeight, int fontHeight)
{
    // The glyphs and places drawing each text would give, shaped ahead and
    // drawn in one run for as many cells in a row as possible: the same
    // page, with less to write and compress.
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    const auto flush = [&] {
        if (glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs.clear();
        positions.clear();
    };
    for (const HistoryPdfCell &cell : page) {
        const int baseline = top + cell.row * rowHeight + fontHeight;
        if (cell.glyphs.isEmpty()) {
            flush();
            painter.drawText(cell.x, baseline, cell.text);
            continue;
        }
        glyphs += cell.glyphs;
        for (const QPointF &position : cell.positions)
            positions.append(QPointF(cell.x + position.x(), baseline + position.y()));
    }
    flush();
}

// "n / m" centred under the table, in the margin below it. The table keeps
// its rows: the number takes a smaller font where the margin is narrow.
void drawPageNumber(QPainter &painter, int page, int pages, int left, int tableWidth, int tableBottom, int pageHeight)
{
    const int room = pageHeight - tableBottom;
    if (room < 4)
        return;
    // Metrics of the painter: the writer's resolution, not the screen's.
    const QFont tableFont = painter.font();
    QFont font = tableFont;
    font.setPixelSize(qMax(1, qMin(painter.fontMetrics().height(), room * 3 / 5)));
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString text = QStringLiteral("%1 / %2").arg(page).arg(pages);
    const int x = left + (tableWidth - metrics.horizontalAdvance(text)) / 2;
    const int baseline = tableBottom + (room - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, baseline, text);
    painter.setFont(tableFont);
}

} // namespace

HistoryExportResult exportHistoryPdf(const QString &path, const QStringList &lines, const HistoryPdfOptions &options,
    const HistoryExportControl &control)
{
    const auto cancelled = [&control] {
        return control.cancel && control.cancel->load();
    };
    QSaveFile file(path);
    if (cancelled())
        return HistoryExportResult::Cancelled;
    if (!file.open(QIODevice::WriteOnly))
        return HistoryExportResult::OpenFailed;

    auto writer = std::make_unique<QPdfWriter>(&file);
    writer->setPageSize(QPageSize(QPageSize::A4));
    auto painter = std::make_unique<QPainter>(writer.get());
    if (options.font)
        painter->setFont(*options.font);
    painter->setPen(
        QPen(QBrush(QColor(0, 0, 0, 255), Qt::SolidPattern), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));

    const int pageWidth = writer->width();
    const int pageHeight = writer->height();
    const int top = 100;
    HistoryPdfTable table;
    table.left = pageWidth / 16;
    const int right = pageWidth - pageWidth / 16 - 1;
    const int bottom = pageHeight - 101;
    const int tableWidth = right - table.left + 1;

    HistoryExportResult result = HistoryExportResult::Ok;
    table.columns = historyColumnCount(lines);
    table.font = painter->font();
    const QFontMetrics metrics = painter->fontMetrics();
    const int fontHeight = metrics.height();
    const int rowHeight = fontHeight + 50;
    table.rowsPerPage = (bottom - top + 1) / rowHeight;
    // Without two columns there is no table; without one row per page the
    // page count cannot be computed.
    if (table.columns < 2 || table.rowsPerPage <= 0) {
        result = HistoryExportResult::FormatError;
    } else {
        const int w = metrics.horizontalAdvance(QStringLiteral("1900-01-01 00:00:00"));
        table.firstWidth = w + w / 4;
        table.otherWidth = (tableWidth - table.firstWidth) / (table.columns - 1);
        const int rows = options.rowCount < 0 ? lines.size() : options.rowCount;
        table.pages = (rows + table.rowsPerPage - 1) / table.rowsPerPage;

        // Glyphs shaped on the layout thread are drawn with this thread's
        // own engine of the same font.
        const QRawFont font = QRawFont::fromFont(table.font);
        HistoryPdfLayout layout(lines, table);
        for (int page = 0; page < table.pages; ++page) {
            if (cancelled()) {
                result = HistoryExportResult::Cancelled;
                break;
            }
            drawGrid(*painter, table, top, rowHeight, tableWidth);
            drawCells(*painter, layout.takePage(), font, top, rowHeight, fontHeight);
            drawPageNumber(*painter, page + 1, table.pages, table.left, tableWidth, top + table.rowsPerPage * rowHeight,
                pageHeight);
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
        return HistoryExportResult::OpenFailed;
    return result;
}
