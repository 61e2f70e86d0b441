#include "history/historyexport.h"
#include "history/historyreadings.h"
#include "history/historyrecord.h"
#include "history/historyseries.h"
#include "history/historytablemodel.h"
#include "items/journalreader.h"
#include "tests/support/tempworkdir.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCodec>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// The table geometry as the exporter must lay it out, worked out here on its
// own from a writer of the same kind.
struct Geometry
{
    int width = 0;
    int left = 0;
    int tableWidth = 0;
    int firstWidth = 0;
    int rowsPerPage = 0;
    double marginPoints = 0; // the writer's own page margin, outside its device area
    int otherWidth(int columns) const { return (tableWidth - firstWidth) / (columns - 1); }
    // Centre of column `i` in PDF points.
    double centre(int i, int columns) const
    {
        const double x = i == 0 ? left + firstWidth / 2.0
                                : left + firstWidth + (i - 1) * otherWidth(columns) + otherWidth(columns) / 2.0;
        return marginPoints + x * 72.0 / 1200.0;
    }
};

Geometry geometry()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    Geometry g;
    g.width = writer.width();
    g.marginPoints = writer.pageLayout().paintRectPoints().left();
    g.left = g.width / 16;
    g.tableWidth = (g.width - g.width / 16 - 1) - g.left + 1;
    const int w = painter.fontMetrics().horizontalAdvance(QStringLiteral("1900-01-01 00:00:00"));
    g.firstWidth = w + w / 4;
    g.rowsPerPage = (writer.height() - 101 - 100 + 1) / (painter.fontMetrics().height() + 50);
    return g;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
              .match(run(QStringLiteral("pdfinfo"), { pdf }));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString layoutText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
}

struct Word
{
    QString text;
    double xMin, xMax;
};

// The words of page 1 with their horizontal extent, in reading order.
QList<Word> words(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
            pdf, QStringLiteral("-") });
    QList<Word> list;
    QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        list.append({ m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble() });
    }
    return list;
}

// Horizontal grid lines of one page: rows of the rendered page that are dark
// across most of the table width, adjacent rows counted once.
int gridLines(const QString &pdf, int page)
{
    const QString prefix = QFileInfo(pdf).absolutePath() + QStringLiteral("/grid");
    run(QStringLiteral("pdftoppm"),
        { QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"), QStringLiteral("-png"),
            QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
            QString::number(page), pdf, prefix });
    const QImage image(prefix + QStringLiteral(".png"));
    if (image.isNull())
        return -1;
    int lines = 0;
    bool previous = false;
    for (int y = 0; y < image.height(); ++y) {
        int dark = 0;
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 160;
        const bool line = dark > image.width() * 3 / 4;
        lines += line && !previous;
        previous = line;
    }
    return lines;
}

// Every word of every page with its box, rounded to 0.01 pt and sorted:
// what a reader of the PDF sees, whatever order the file draws it in.
QString wordBoxes(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), pdf, QStringLiteral("-") });
    QString boxes;
    QStringList page;
    const auto endPage = [&] {
        page.sort();
        for (const QString &word : page)
            boxes += word + QLatin1Char('\n');
        page.clear();
    };
    QRegularExpression re(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(1).isEmpty()) {
            endPage();
            boxes += QStringLiteral("page\n");
            continue;
        }
        QString word;
        for (int i = 1; i <= 4; ++i)
            word += QString::number(m.captured(i).toDouble(), 'f', 2) + QLatin1Char(' ');
        page.append(word + m.captured(5));
    }
    endPage();
    return boxes;
}

// Two pages and a bit of what meters send: a Chinese header, records with a
// date and a time, short and empty lines, a cell wider than its column.
QStringList sampleRecords(int count)
{
    QStringList lines { QStringLiteral("日期时间,瞬时流量(m3/h),累积流量(m3),温度(℃)") };
    for (int i = 0; i < count; ++i) {
        if (i % 37 == 5)
            lines << QString();
        else if (i % 41 == 7)
            lines << QStringLiteral("掉电 %1").arg(i);
        else
            lines << QStringLiteral("2024-03-%1 %2:%3:00,%4,%5,22.%6")
                         .arg(1 + i / 1440, 2, 10, QLatin1Char('0'))
                         .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                         .arg(i % 60, 2, 10, QLatin1Char('0'))
                         .arg(i % 53 == 0 ? QStringLiteral("123456789012345678901234567890")
                                          : QString::number(100 + i % 50))
                         .arg(10000 + i * 1.5, 0, 'f', 1)
                         .arg(i % 10);
    }
    return lines;
}

} // namespace

class TstHistoryExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fields_data();
    void fields();
    void cells_data();
    void cells();
    void recordFields_data();
    void recordFields();
    void recordTime_data();
    void recordTime();
    void readings_data();
    void readings();
    void tableSortKeepsTheSelection();
    void seriesStatsAndDecimation();
    void journalReadBack();
    void journalColumns_data();
    void journalColumns();
    void csvBytes_data();
    void csvBytes();
    void openFailure();
    void pdfLayouts_data();
    void pdfLayouts();
    void pdfSingleFieldIsFormatError();
    void pdfTooLargeFontIsFormatError();
    void pdfFullGridOnEveryPage();
    void pdfChineseText();
    void pdfTenThousandLines();
    void pdfCancelledLeavesNoFile_data();
    void pdfCancelledLeavesNoFile();
    void pdfSameLayoutAsBefore_data();
    void pdfSameLayoutAsBefore();

private:
    QString file(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<TempWorkDir> m_dir;
};

void TstHistoryExport::initTestCase()
{
    for (const char *tool : { "pdfinfo", "pdftotext", "pdftoppm" })
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP("poppler-utils are missing");
}

void TstHistoryExport::init()
{
    m_dir = std::make_unique<TempWorkDir>();
}

void TstHistoryExport::cleanup()
{
    m_dir.reset();
}

void TstHistoryExport::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("comma and blank") << "1,2 3" << QStringList { "1", "2", "3" };
    QTest::newRow("comma and blank in a row") << "1, 2 ,,3" << QStringList { "1", "2", "3" };
    QTest::newRow("date time values") << "2018-03-01 00:15:00,21.5,0.73"
                                      << QStringList { "2018-03-01", "00:15:00", "21.5", "0.73" };
    QTest::newRow("tab stays inside a field") << "a\tb c\t" << QStringList { "a\tb", "c" };
    QTest::newRow("CR at the end trimmed") << "x y\r" << QStringList { "x", "y" };
    QTest::newRow("Unicode blanks trimmed, kept inside")
        << QStringLiteral("\u00a0a\u3000b\u3000, \t,c") << QStringList { QStringLiteral("a\u3000b"), "c" };
    QTest::newRow("blank line") << "  " << QStringList {};
    QTest::newRow("Chinese") << QStringLiteral("时间,温度(℃) 湿度") << QStringList { "时间", "温度(℃)", "湿度" };
}

void TstHistoryExport::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    QCOMPARE(historyFields(line), expected);
}

void TstHistoryExport::cells_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("date and time joined")
        << "2018-03-01 00:15:00 21.5 0.73" << 3 << QStringList { "2018-03-01 00:15:00", "21.5", "0.73" };
    QTest::newRow("joined, surplus dropped")
        << "2018-03-01 00:15:00 21.5 0.73 9.9" << 3 << QStringList { "2018-03-01 00:15:00", "21.5", "0.73" };
    QTest::newRow("fits, not joined") << "2018-03-01 00:15:00 21.5 0.73" << 4
                                      << QStringList { "2018-03-01", "00:15:00", "21.5", "0.73" };
    QTest::newRow("fewer fields") << "note" << 4 << QStringList { "note" };
    QTest::newRow("two fields never joined") << "a b" << 1 << QStringList { "a" };
    QTest::newRow("empty") << "" << 3 << QStringList {};
}

void TstHistoryExport::cells()
{
    QFETCH(QString, line);
    QFETCH(int, columns);
    QFETCH(QStringList, expected);
    QCOMPARE(historyCells(line, columns), expected);
}

void TstHistoryExport::recordFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("a record") << "2018-03-01 08:00:00,瞬时流量,12.50,m3/h\r\n"
                              << QStringList { "2018-03-01 08:00:00", "瞬时流量", "12.50", "m3/h" };
    QTest::newRow("blanks trimmed, empty fields kept") << " a , ,b," << QStringList { "a", "", "b", "" };
    QTest::newRow("no comma") << "校准完成" << QStringList { "校准完成" };
    QTest::newRow("empty line") << "\r\n" << QStringList { "" };
    QStringList capped;
    for (int i = 0; i < 15; ++i)
        capped << QString::number(i);
    capped << "15,16,17,18,19";
    QTest::newRow("more columns than the table has: the rest stays in the last")
        << "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19" << capped;
}

void TstHistoryExport::recordFields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    QCOMPARE(historyRecordFields(line), expected);
}

void TstHistoryExport::recordTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // ISO with milliseconds; empty: no time
    QTest::newRow("date and time") << "2018-03-01 08:00:00"
                                   << "2018-03-01T08:00:00.000";
    QTest::newRow("blanks around") << " 2018-03-01  08:00:00 "
                                   << "2018-03-01T08:00:00.000";
    QTest::newRow("without leading zeros, no seconds") << "2018-3-1 8:05"
                                                       << "2018-03-01T08:05:00.000";
    QTest::newRow("slashes") << "2018/03/01 23:59:59"
                             << "2018-03-01T23:59:59.000";
    QTest::newRow("points, date only") << "2018.03.01"
                                       << "2018-03-01T00:00:00.000";
    QTest::newRow("ISO T") << "2018-03-01T08:00:00"
                           << "2018-03-01T08:00:00.000";
    QTest::newRow("fraction") << "2018-03-01 08:00:00.5"
                              << "2018-03-01T08:00:00.500";
    // Wall-clock time: a daylight-saving gap of the PC's zone does not matter.
    QTest::newRow("no zone") << "2024-03-31 02:30:00"
                             << "2024-03-31T02:30:00.000";
    QTest::newRow("29 February") << "2024-02-29 00:00"
                                 << "2024-02-29T00:00:00.000";
    for (const char *bad : { "2018-02-30 00:00:00", "2018-03-01 24:00:00", "2018-03-01 08:60", "18-03-01", "2018-03/01",
             "2018-03-01 08", "2018-03-01 08:00:00 x", "2018-03-01,08:00", "", "日期时间", "12.5", "２０１８-03-01" })
        QTest::newRow(bad) << QString::fromUtf8(bad) << QString();
}

void TstHistoryExport::recordTime()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    qint64 msecs = -1;
    const bool parsed = parseHistoryTime(text, &msecs);
    QCOMPARE(parsed, !expected.isEmpty());
    if (parsed)
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toString(Qt::ISODateWithMs).left(23), expected);
}

void TstHistoryExport::readings_data()
{
    // Series as "name (unit):points", then lines without a time and without a number.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("series");
    QTest::addColumn<int>("withoutTime");
    QTest::addColumn<int>("withoutNumber");
    QTest::newRow("name, value, unit") << QStringList { "2018-03-01 08:00:00,瞬时流量,12.50,m3/h",
        "2018-03-01 08:00:00,累计流量,100,m3", "2018-03-01 09:00:00,瞬时流量,13,m3/h" }
                                       << QStringList { "瞬时流量 (m3/h):2", "累计流量 (m3):1" } << 0 << 0;
    QTest::newRow("two readings in one line")
        << QStringList { "2018-03-01 08:00:00,瞬时流量,12.5,m3/h,累计流量,100,m3" }
        << QStringList { "瞬时流量 (m3/h):1", "累计流量 (m3):1" } << 0 << 0;
    QTest::newRow("columns named by the header, units in brackets") << QStringList {
        "日期时间,瞬时流量(m3/h),温度（℃）", "2024-03-01 00:00:00,120.5,22.1", "2024-03-01 01:00:00,0.00,停电"
    } << QStringList { "瞬时流量 (m3/h):2", "温度 (℃):1" } << 1 << 0;
    QTest::newRow("columns without a header")
        << QStringList { "2024-03-01 00:00:00,1,2" } << QStringList { "第2列:1", "第3列:1" } << 0 << 0;
    QTest::newRow("name, value and unit in one field")
        << QStringList { "2024-06-01 08:00:00,流量 123.45 m3/h,累积 10234.5 m3" }
        << QStringList { "流量 (m3/h):1", "累积 (m3):1" } << 0 << 0;
    QTest::newRow("no number, no time, blank")
        << QStringList { "2024-03-05 08:00:00,校准完成", "abc,1,2", "", "2024-03-05 09:00:00,流量,nan,m3/h" }
        << QStringList {} << 1 << 2;
    QTest::newRow("a unit that changes gets a series of its own")
        << QStringList { "2018-03-01 08:00:00,流量,1,m3/h", "2018-03-01 09:00:00,流量,2,L/s" }
        << QStringList { "流量 (m3/h):1", "流量 (L/s):1" } << 0 << 0;
}

void TstHistoryExport::readings()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, series);
    QFETCH(int, withoutTime);
    QFETCH(int, withoutNumber);
    HistoryReadings readings;
    for (const QString &line : lines)
        readings.addLine(line + "\r\n");
    QStringList found;
    for (const HistorySeries &one : readings.series())
        found << QStringLiteral("%1:%2").arg(one.label()).arg(one.size());
    QCOMPARE(found, series);
    QCOMPARE(readings.linesWithoutTime(), withoutTime);
    QCOMPARE(readings.linesWithoutNumber(), withoutNumber);
}

void TstHistoryExport::tableSortKeepsTheSelection()
{
    HistoryTableModel model;
    model.appendLines({ "2018-03-01 10:00:00,b,3\r\n", "header,x,y\r\n", "2018-03-01 08:00:00,a,10\r\n",
        "2018-03-01 09:00:00,c,2.5\r\n" });
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.rowsWithoutTime(), 1);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("x"));
    const QPersistentModelIndex selected = model.index(2, 1); // "a"
    const auto column = [&model](int c) {
        QStringList cells;
        for (int row = 0; row < model.rowCount(); ++row)
            cells << model.index(row, c).data().toString();
        return cells;
    };
    model.sort(0, Qt::AscendingOrder);
    QCOMPARE(column(1), QStringList({ "a", "c", "b", "x" }));
    QCOMPARE(selected.row(), 0);
    // Numbers as numbers (10 after 3), the row without one last either way.
    model.sort(2, Qt::DescendingOrder);
    QCOMPARE(column(2), QStringList({ "10", "3", "2.5", "y" }));
    model.sort(2, Qt::AscendingOrder);
    QCOMPARE(column(2), QStringList({ "2.5", "3", "10", "y" }));
    QCOMPARE(selected.data().toString(), QStringLiteral("a"));
    // Lines that come in later join the sort once it is applied again.
    model.appendLines({ "2018-03-01 07:00:00,d,1\r\n" });
    QCOMPARE(model.index(4, 1).data().toString(), QStringLiteral("d"));
    model.applySort();
    QCOMPARE(column(1), QStringList({ "d", "c", "b", "a", "x" }));
}

void TstHistoryExport::seriesStatsAndDecimation()
{
    HistorySeries series;
    for (int i = 0; i < 100000; ++i) {
        series.times << double(i) * 1000;
        series.values << (i == 54321 ? 500.0 : i == 12345 ? -500.0 : double(i % 10));
    }
    const HistorySeriesStats all = seriesStats(series, 0, 1e12);
    QCOMPARE(all.count, 100000);
    QCOMPARE(all.min, -500.0);
    QCOMPARE(all.max, 500.0);
    const HistorySeriesStats part = seriesStats(series, 10000, 19000);
    QCOMPARE(part.count, 10);
    QCOMPARE(part.mean, 4.5);
    QCOMPARE(seriesStats(series, -5, -1).count, 0);
    // A few points per pixel column, and no spike lost between them.
    const QVector<QPointF> drawn = decimatedPoints(series, 0, 99999000, 800);
    QVERIFY2(drawn.size() <= 4 * 800 + 2, qPrintable(QString::number(drawn.size())));
    double low = 0;
    double high = 0;
    for (const QPointF &point : drawn) {
        low = qMin(low, point.y());
        high = qMax(high, point.y());
        QVERIFY(point.x() >= 0 && point.x() <= 99999000);
    }
    QCOMPARE(low, -500.0);
    QCOMPARE(high, 500.0);
    // Zoomed in: every point of the range, and one beyond each edge.
    QCOMPARE(decimatedPoints(series, 10000, 19000, 800).size(), 12);
    QCOMPARE(nearestPoint(series, 1400), 1);
    QCOMPARE(nearestPoint(series, 1600), 2);
    QCOMPARE(nearestPoint(series, 1e12), 99999);
    // Out of order with a repeat: sorted, the repeat kept.
    HistorySeries shuffled { "q", "u", { 3, 1, 2, 1 }, { 30, 10, 20, 11 } };
    sortSeriesByTime(shuffled);
    QCOMPARE(shuffled.times, QVector<double>({ 1, 1, 2, 3 }));
    QCOMPARE(shuffled.values, QVector<double>({ 10, 11, 20, 30 }));
}

void TstHistoryExport::journalReadBack()
{
    // What the journal writes reads back the same, quoting included; a
    // damaged line is skipped, not the rest.
    Journal journal(file("journal.csv"));
    const QDateTime at = QDateTime::currentDateTime().addSecs(-10);
    const JournalEntry entry { at, "udp 127.0.0.1:1", 3, "VX-200", "a \"quoted\", name", 5, "名称,带逗号",
        "line\r\nbreak", "19200", "19200", "ok" };
    QVERIFY(journal.append(entry));
    QFile damaged(file("journal.csv"));
    QVERIFY(damaged.open(QIODevice::Append));
    damaged.write("not,a,journal,line\r\n");
    damaged.close();
    QVERIFY(journal.append({ at, "udp 127.0.0.1:1", 4, "", "", -1, "clock", "", "2024-03-01 08:00:00", "OK", "ok" }));
    const JournalReader reader(file("journal.csv"));
    QCOMPARE(reader.entries().size(), 2);
    const JournalEntry back = reader.entries().first();
    QCOMPARE(Journal::line(back), Journal::line(entry));
    QCOMPARE(reader.entriesFor("udp 127.0.0.1:1", 3, at.addSecs(-1), at.addSecs(1)).size(), 1);
    QCOMPARE(reader.entriesFor("udp 127.0.0.1:1", 4, at.addSecs(-1), at.addSecs(1)).first().index, -1);
    QCOMPARE(reader.entriesFor("udp 127.0.0.1:1", 3, at.addSecs(1), at.addSecs(2)).size(), 0);
    QCOMPARE(reader.entriesFor("udp 127.0.0.1:2", 3, at.addSecs(-1), at.addSecs(1)).size(), 0);
}

void TstHistoryExport::journalColumns_data()
{
    // The window's row number, then the backup made before the batch; a
    // journal begun before a column existed keeps the columns it has.
    QTest::addColumn<QString>("header"); // of the journal as begun; empty: a new one
    QTest::addColumn<QString>("tail");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("backup");
    const QString backup = "backups/VX-200_20260101-120000.csv";
    QTest::newRow("new") << QString() << ",ok,6," + backup + "\r\n" << 6 << backup;
    QTest::newRow("begun before the backup column") << Journal::headerLineWithoutBackup() << ",ok,6\r\n" << 6 << "";
    QTest::newRow("begun before the row column") << Journal::headerLineWithoutRow() << ",ok\r\n" << 0 << "";
}

void TstHistoryExport::journalColumns()
{
    QFETCH(QString, header);
    QFETCH(QString, tail);
    QFETCH(int, row);
    QFETCH(QString, backup);
    JournalEntry entry { QDateTime::currentDateTime(), "udp 127.0.0.1:1", 3, "VX-200", "N", 5, "波特率", "9600",
        "19200", "19200", "ok" };
    entry.row = 6;
    entry.backup = "backups/VX-200_20260101-120000.csv";
    QVERIFY(m_dir->writeFile("j.csv", header.isEmpty() ? QByteArray() : "\xEF\xBB\xBF" + header.toUtf8() + "\r\n"));
    QVERIFY(Journal(file("j.csv")).append(entry));
    const QByteArray written = m_dir->readFile("j.csv");
    if (header.isEmpty()) {
        QVERIFY(written.startsWith("\xEF\xBB\xBF" + Journal::headerLine().toUtf8() + "\r\n"));
        QVERIFY(
            Journal::headerLine().endsWith(",index,name,old_value,requested_value,answered_value,result,row,backup"));
    }
    QVERIFY2(written.endsWith(",5,波特率,9600,19200,19200" + tail.toUtf8()), written.constData());
    const QVector<JournalEntry> back = JournalReader(file("j.csv")).entries();
    QCOMPARE(back.size(), 1);
    QCOMPARE(back.first().index, 5);
    QCOMPARE(back.first().row, row);
    QCOMPARE(back.first().backup, backup);
}

void TstHistoryExport::csvBytes_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QString>("text");
    QTest::newRow("GB2312 locale") << QByteArray("GB2312") << QStringLiteral("时间,温度\n2024-03-01 08:00:00,21.5\n");
    QTest::newRow("UTF-8 locale") << QByteArray("UTF-8") << QStringLiteral("时间,温度\n2024-03-01 08:00:00,21.5");
    QTest::newRow("empty text") << QByteArray("UTF-8") << QString();
}

void TstHistoryExport::csvBytes()
{
    QFETCH(QByteArray, codec);
    QFETCH(QString, text);
    QTextCodec *previous = QTextCodec::codecForLocale();
    QTextCodec::setCodecForLocale(QTextCodec::codecForName(codec));
    QVERIFY(m_dir->writeFile(QStringLiteral("h.csv"), QByteArray(4096, 'x'))); // truncated
    const HistoryExportResult result = exportHistoryCsv(file(QStringLiteral("h.csv")), text);
    QTextCodec::setCodecForLocale(previous);

    QCOMPARE(result, HistoryExportResult::Ok);
    QCOMPARE(m_dir->readFile(QStringLiteral("h.csv")), QTextCodec::codecForName(codec)->fromUnicode(text));
}

void TstHistoryExport::openFailure()
{
    const QString path = file(QStringLiteral("no-such-dir/h"));
    QCOMPARE(exportHistoryCsv(path + QStringLiteral(".csv"), QStringLiteral("a")), HistoryExportResult::OpenFailed);
    QCOMPARE(
        exportHistoryPdf(path + QStringLiteral(".pdf"), { QStringLiteral("a b") }), HistoryExportResult::OpenFailed);
    QVERIFY(!QFile::exists(path + QStringLiteral(".pdf")));
}

void TstHistoryExport::pdfLayouts_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expectedRows"); // cells of the printed rows, joined by " | "
    QTest::addColumn<QString>("probe"); // a word and the column whose centre it must sit in
    QTest::addColumn<int>("probeColumn");
    QTest::addColumn<int>("columns");

    QTest::newRow("header line") << QStringList { "时间 温度 湿度", "2018-03-01 00:15:00,21.5,0.73",
        "2018-03-01 00:30:00,21.6,0.74,9.99" }
                                 << QStringList { "时间 | 温度 | 湿度", "2018-03-01 00:15:00 | 21.5 | 0.73",
                                        "2018-03-01 00:30:00 | 21.6 | 0.74" }
                                 << "0.73" << 2 << 3;
    QTest::newRow("no header") << QStringList { "2018-03-01 00:15:00,21.5,0.73", "2018-03-01 00:30:00,21.6,0.74" }
                               << QStringList { "2018-03-01 | 00:15:00 | 21.5 | 0.73",
                                      "2018-03-01 | 00:30:00 | 21.6 | 0.74" }
                               << "00:15:00" << 1 << 4;
    QTest::newRow("title line before the header")
        << QStringList { "Report", "a,b", "c,d" } << QStringList { "Report", "a | b", "c | d" } << "b" << 1 << 2;
}

void TstHistoryExport::pdfLayouts()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expectedRows);
    QFETCH(QString, probe);
    QFETCH(int, probeColumn);
    QFETCH(int, columns);

    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(exportHistoryPdf(pdf, lines), HistoryExportResult::Ok);
    QCOMPARE(pageCount(pdf), 1);

    // Each printed row: its cells, separated by wide gaps in the layout text.
    QStringList rows;
    for (const QString &line : layoutText(pdf).split(QLatin1Char('\n'))) {
        const QString row = line.trimmed();
        // The page number under the table is no row of it.
        if (QString(row).remove(QLatin1Char(' ')) == QStringLiteral("1/1"))
            continue;
        if (!row.isEmpty() && row != QStringLiteral("\f"))
            rows.append(row.split(QRegularExpression(QStringLiteral("\\s{3,}"))).join(QStringLiteral(" | ")));
    }
    QCOMPARE(rows, expectedRows);

    const Geometry g = geometry();
    bool found = false;
    for (const Word &word : words(pdf)) {
        if (word.text != probe)
            continue;
        found = true;
        const double centre = (word.xMin + word.xMax) / 2;
        QVERIFY2(std::abs(centre - g.centre(probeColumn, columns)) < 3.0,
            qPrintable(QStringLiteral("%1 at %2, column centre %3")
                           .arg(probe)
                           .arg(centre)
                           .arg(g.centre(probeColumn, columns))));
    }
    QVERIFY(found);
}

void TstHistoryExport::pdfSingleFieldIsFormatError()
{
    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(exportHistoryPdf(pdf, { QStringLiteral("alpha"), QStringLiteral("beta,"), QString() }),
        HistoryExportResult::FormatError);
    // The file is a PDF without the table.
    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(layoutText(pdf).trimmed(), QString());
}

void TstHistoryExport::pdfTooLargeFontIsFormatError()
{
    // Not one row fits between top and bottom: refused, never divided by zero.
    HistoryPdfOptions options;
    QFont font;
    font.setPixelSize(20000);
    options.font = font;
    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(exportHistoryPdf(pdf, { QStringLiteral("a b"), QStringLiteral("c d") }, options),
        HistoryExportResult::FormatError);
    QCOMPARE(pageCount(pdf), 1);
}

void TstHistoryExport::pdfFullGridOnEveryPage()
{
    const Geometry g = geometry();
    QVERIFY(g.rowsPerPage > 10);
    QStringList lines { QStringLiteral("时间,流量,温度") };
    const int rows = 2 * g.rowsPerPage + 5;
    for (int i = 1; i < rows; ++i)
        lines << QStringLiteral("2024-03-01 %1:%2:00,%3,21.5")
                     .arg(i / 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(i);
    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(exportHistoryPdf(pdf, lines), HistoryExportResult::Ok);
    QCOMPARE(pageCount(pdf), 3);
    for (int page = 1; page <= 3; ++page)
        QCOMPARE(gridLines(pdf, page), g.rowsPerPage + 1);

    // Rows run on across pages in order; the last page holds the last rows.
    const QStringList pages = layoutText(pdf).split(QLatin1Char('\f'));
    const auto cell = [](int value) {
        return QStringLiteral("   %1   ").arg(value);
    };
    QVERIFY(pages.at(0).contains(cell(g.rowsPerPage - 1)));
    QVERIFY(pages.at(1).contains(cell(g.rowsPerPage)));
    QVERIFY(pages.at(1).contains(cell(2 * g.rowsPerPage - 1)));
    QVERIFY(pages.at(2).contains(cell(2 * g.rowsPerPage)));
    QVERIFY(pages.at(2).contains(cell(rows - 1)));
    // Each page is numbered below its table.
    for (int page = 0; page < 3; ++page) {
        const QStringList pageLines = pages.at(page).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(QString(pageLines.last()).remove(QLatin1Char(' ')), QStringLiteral("%1/3").arg(page + 1));
    }
}

void TstHistoryExport::pdfChineseText()
{
    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(
        exportHistoryPdf(pdf,
            { QStringLiteral("日期时间,瞬时流量(m3/h),温度(℃)"), QStringLiteral("2024-03-01 08:00:00,121.50,22.4") }),
        HistoryExportResult::Ok);
    QVERIFY(layoutText(pdf).contains(QStringLiteral("瞬时流量(m3/h)")));
    // The glyphs come from an embedded CJK font, not from boxes.
    if (!QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        QVERIFY(run(QStringLiteral("pdffonts"), { pdf }).contains(QStringLiteral("WenQuanYi"), Qt::CaseInsensitive));
    if (qEnvironmentVariableIsSet("HISTORY_SHOTS"))
        QFile::copy(pdf, qEnvironmentVariable("HISTORY_SHOTS") + QStringLiteral("/chinese.pdf"));
}

void TstHistoryExport::pdfTenThousandLines()
{
    QStringList lines { QStringLiteral("日期时间,瞬时流量(m3/h),累积流量(m3),温度(℃)") };
    for (int i = 0; i < 10000; ++i)
        lines << QStringLiteral("2024-03-%1 %2:%3:00,%4,%5,22.%6")
                     .arg(1 + i / 1440, 2, 10, QLatin1Char('0'))
                     .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(100 + i % 50)
                     .arg(10000 + i)
                     .arg(i % 10);
    const QString pdf = file(QStringLiteral("big.pdf"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(exportHistoryPdf(pdf, lines), HistoryExportResult::Ok);
    const qint64 ms = timer.elapsed();
    qInfo("PDF export of 10001 lines: %lld ms, %lld bytes", ms, static_cast<long long>(QFileInfo(pdf).size()));
    QVERIFY(ms < 60000);
    const int rowsPerPage = geometry().rowsPerPage;
    const int pages = (10001 + rowsPerPage - 1) / rowsPerPage;
    QCOMPARE(pageCount(pdf), pages);
    // Thousands of distinct texts later, the last page still holds its own
    // rows in their columns, and its number.
    const QString last = run(QStringLiteral("pdftotext"),
        { QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(pages), QStringLiteral("-l"),
            QString::number(pages), pdf, QStringLiteral("-") });
    QStringList rows;
    for (const QString &line : last.split(QLatin1Char('\n')))
        rows.append(line.trimmed().split(QRegularExpression(QStringLiteral("\\s{3,}"))).join(QLatin1Char('|')));
    QVERIFY2(rows.contains(QStringLiteral("2024-03-07 22:39:00|149|19999|22.9")), qPrintable(last));
    QVERIFY2(rows.contains(QStringLiteral("2024-03-07 22:38:00|148|19998|22.8")), qPrintable(last));
    QVERIFY2(QString(last).remove(QLatin1Char(' ')).contains(QStringLiteral("\n%1/%1\n").arg(pages)), qPrintable(last));
    if (qEnvironmentVariableIsSet("HISTORY_SHOTS"))
        QFile::copy(pdf, qEnvironmentVariable("HISTORY_SHOTS") + QStringLiteral("/big.pdf"));
}

void TstHistoryExport::pdfSameLayoutAsBefore_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("golden");
    QTest::newRow("records over three pages") << sampleRecords(2 * geometry().rowsPerPage + 20) << "pdf-records.txt";
    QTest::newRow("no header, four columns")
        << QStringList { "2018-03-01 00:15:00,21.5,0.73", "2018-03-01 00:30:00,21.6,0.74", "Report", "a,b" }
        << "pdf-four-columns.txt";
}

void TstHistoryExport::pdfSameLayoutAsBefore()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, golden);
    // The boxes were taken from the exporter that drew every cell on the
    // caller's thread, one after the other.
    const QString pdf = file(QStringLiteral("h.pdf"));
    QCOMPARE(exportHistoryPdf(pdf, lines), HistoryExportResult::Ok);
    const QString boxes = wordBoxes(pdf);
    QFile expected(QStringLiteral(VEXA_SOURCE_DIR "/tests/history/data/") + golden);
    if (qEnvironmentVariableIsSet("VEXA_WRITE_GOLDEN")) {
        QVERIFY(expected.open(QIODevice::WriteOnly));
        expected.write(boxes.toUtf8());
        expected.close();
    }
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(boxes, QString::fromUtf8(expected.readAll()));
}

void TstHistoryExport::pdfCancelledLeavesNoFile_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::newRow("new file") << QByteArray();
    QTest::newRow("file of an earlier export") << QByteArray("%PDF-1.4 earlier");
}

void TstHistoryExport::pdfCancelledLeavesNoFile()
{
    QFETCH(QByteArray, before);
    if (!before.isEmpty())
        QVERIFY(m_dir->writeFile(QStringLiteral("h.pdf"), before));
    std::atomic<bool> cancel { false };
    QList<int> progress;
    HistoryExportControl control;
    control.cancel = &cancel;
    control.progress = [&](int done, int total) {
        progress << done << total;
        cancel = true; // as if Cancel was pressed while the first page was drawn
    };
    const QStringList lines = sampleRecords(3 * geometry().rowsPerPage);
    QCOMPARE(exportHistoryPdf(file(QStringLiteral("h.pdf")), lines, {}, control), HistoryExportResult::Cancelled);
    QCOMPARE(progress, QList<int>({ geometry().rowsPerPage, int(lines.size()) }));
    // Nothing half-written, under the name or beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), before.isEmpty() ? QStringList() : QStringList { "h.pdf" });
    if (!before.isEmpty())
        QCOMPARE(m_dir->readFile(QStringLiteral("h.pdf")), before);
}

QTEST_MAIN(TstHistoryExport)
#include "tst_historyexport.moc"
