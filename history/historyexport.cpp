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

// The full grid of a page, drawn as one path.
QVector<QLine> gridLines(const HistoryPdfTable &t, int tableWidth)
{
    QVector<QLine> lines;
    for (int k = 0; k <= t.rowsPerPage; ++k) {
        const int y = t.top + k * t.rowHeight;
        lines.append(QLine(t.left, y, t.left + tableWidth, y));
    }
    const int bottom = t.top + t.rowsPerPage * t.rowHeight;
    int x = t.left;
    for (int c = 0; c <= t.columns; ++c) {
        lines.append(QLine(x, t.top, x, bottom));
        x += c == 0 ? t.firstWidth : t.otherWidth;
    }
    return lines;
}

void drawCells(QPainter &painter, const HistoryPdfPage &page, const QRawFont &font)
{
    QGlyphRun run;
    run.setRawFont(font);
    for (const HistoryPdfPiece &piece : page) {
        if (piece.glyphs.isEmpty()) {
            painter.drawText(piece.origin, piece.text);
            continue;
        }
        run.setGlyphIndexes(piece.glyphs);
        run.setPositions(piece.positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

// "n / m" centred under the table, in the margin below it. The table keeps
// its rows: the number takes a smaller font where the margin is narrow.
class PageNumbers
{
public:
    PageNumbers(QPainter &painter, int left, int tableWidth, int tableBottom, int pageHeight)
        : m_left(left)
        , m_tableWidth(tableWidth)
        , m_room(pageHeight - tableBottom)
        , m_metrics(painter.fontMetrics())
    {
        if (m_room < 4)
            return;
        // Metrics of the painter: the writer's resolution, not the screen's.
        const QFont tableFont = painter.font();
        m_font = tableFont;
        m_font.setPixelSize(qMax(1, qMin(painter.fontMetrics().height(), m_room * 3 / 5)));
        painter.setFont(m_font);
        m_metrics = painter.fontMetrics();
        m_baseline = tableBottom + (m_room - m_metrics.height()) / 2 + m_metrics.ascent();
        painter.setFont(tableFont);
    }

    void draw(QPainter &painter, int page, int pages) const
    {
        if (m_room < 4)
            return;
        const QFont tableFont = painter.font();
        painter.setFont(m_font);
        const QString text = QStringLiteral("%1 / %2").arg(page).arg(pages);
        const int x = m_left + (m_tableWidth - m_metrics.horizontalAdvance(text)) / 2;
        painter.drawText(x, m_baseline, text);
        painter.setFont(tableFont);
    }

private:
    int m_left;
    int m_tableWidth;
    int m_room;
    QFont m_font;
    QFontMetrics m_metrics;
    int m_baseline = 0;
};

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
    HistoryPdfTable table;
    table.top = 100;
    table.left = pageWidth / 16;
    const int right = pageWidth - pageWidth / 16 - 1;
    const int bottom = pageHeight - 101;
    const int tableWidth = right - table.left + 1;

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
        table.otherWidth = (tableWidth - table.firstWidth) / (table.columns - 1);
        const int rows = options.rowCount < 0 ? lines.size() : options.rowCount;
        table.pages = (rows + table.rowsPerPage - 1) / table.rowsPerPage;

        const QVector<QLine> grid = gridLines(table, tableWidth);
        const PageNumbers numbers(
            *painter, table.left, tableWidth, table.top + table.rowsPerPage * table.rowHeight, pageHeight);
        // Glyphs shaped on the layout thread are drawn with this thread's
        // own engine of the same font.
        const QRawFont font = QRawFont::fromFont(table.font);
        HistoryPdfLayout layout(lines, table);
        for (int page = 0; page < table.pages; ++page) {
            if (cancelled()) {
                result = HistoryExportResult::Cancelled;
                break;
            }
            painter->drawLines(grid);
            drawCells(*painter, layout.takePage(), font);
            numbers.draw(*painter, page + 1, table.pages);
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
