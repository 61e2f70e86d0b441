#include "history/historyexport.h"

#include <QFile>
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
    static const QRegularExpression separators(QStringLiteral("[ ,]"));
    QStringList fields;
    const QStringList parts = line.split(separators);
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

struct TableGeometry
{
    int left = 0;
    int top = 100;
    int tableWidth = 0;
    int rowHeight = 0;
    int fontHeight = 0;
    int firstWidth = 0;
    int otherWidth = 0;
    int rowsPerPage = 0;
};

void drawGrid(QPainter &painter, const TableGeometry &g, int columns)
{
    for (int k = 0; k <= g.rowsPerPage; ++k) {
        const int y = g.top + k * g.rowHeight;
        painter.drawLine(g.left, y, g.left + g.tableWidth, y);
    }
    const int bottom = g.top + g.rowsPerPage * g.rowHeight;
    int x = g.left;
    for (int c = 0; c <= columns; ++c) {
        painter.drawLine(x, g.top, x, bottom);
        x += c == 0 ? g.firstWidth : g.otherWidth;
    }
}

void drawRow(QPainter &painter, const TableGeometry &g, int y, const QStringList &cells, int columns)
{
    const QFontMetrics metrics = painter.fontMetrics();
    int x = g.left;
    for (int i = 0; i < columns && i < cells.size(); ++i) {
        const int width = i == 0 ? g.firstWidth : g.otherWidth;
        // Centred; a text wider than its column spills over both edges.
        const int textX = x + (width - metrics.horizontalAdvance(cells.at(i))) / 2;
        painter.drawText(textX, y + g.fontHeight, cells.at(i));
        x += width;
    }
}

} // namespace

HistoryExportResult exportHistoryPdf(const QString &path, const QStringList &lines, const HistoryPdfOptions &options)
{
    QFile file(path);
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
    TableGeometry g;
    g.left = pageWidth / 16;
    const int right = pageWidth - pageWidth / 16 - 1;
    const int bottom = pageHeight - 101;
    g.tableWidth = right - g.left + 1;

    HistoryExportResult result = HistoryExportResult::Ok;
    const int columns = historyColumnCount(lines);
    const QFontMetrics metrics = painter->fontMetrics();
    g.fontHeight = metrics.height();
    g.rowHeight = g.fontHeight + 50;
    g.rowsPerPage = (bottom - g.top + 1) / g.rowHeight;
    // Without two columns there is no table; without one row per page the
    // page count cannot be computed.
    if (columns < 2 || g.rowsPerPage <= 0) {
        result = HistoryExportResult::FormatError;
    } else {
        const int w = metrics.horizontalAdvance(QStringLiteral("1900-01-01 00:00:00"));
        g.firstWidth = w + w / 4;
        g.otherWidth = (g.tableWidth - g.firstWidth) / (columns - 1);
        const int rows = options.rowCount < 0 ? lines.size() : options.rowCount;
        const int pages = (rows + g.rowsPerPage - 1) / g.rowsPerPage;

        int next = 0;
        for (int page = 0; page < pages; ++page) {
            drawGrid(*painter, g, columns);
            for (int r = 0; r < g.rowsPerPage; ++r) {
                const QString line = next < lines.size() ? lines.at(next) : QString();
                ++next;
                drawRow(*painter, g, g.top + r * g.rowHeight, historyCells(line, columns), columns);
            }
            if (page + 1 < pages)
                writer->newPage();
        }
    }

    // Painter, then writer, then file: the writer completes the document.
    painter->end();
    painter.reset();
    writer.reset();
    file.close();
    return result;
}
