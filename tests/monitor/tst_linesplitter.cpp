#include "monitor/linesplitter.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

class TstLineSplitter : public QObject
{
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
    void keepsPartialLineAcrossChunks();
    void clearDropsPartialLine();
    void endlessLineIsCutAtTheCap_data();
    void endlessLineIsCutAtTheCap();
};

void TstLineSplitter::splits_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("pending");

    using L = QList<QByteArray>;
    QTest::newRow("no line feed") << L { "abc" } << L {} << QByteArray("abc");
    QTest::newRow("several lines in one chunk, in order")
        << L { "a\nbb\nccc\n" } << L { "a\n", "bb\n", "ccc\n" } << QByteArray();
    QTest::newRow("carriage return kept") << L { "1\r\n" } << L { "1\r\n" } << QByteArray();
    QTest::newRow("bare carriage return is no line end") << L { "1\r2\n" } << L { "1\r2\n" } << QByteArray();
    QTest::newRow("empty lines") << L { "\n\n" } << L { "\n", "\n" } << QByteArray();
    QTest::newRow("line cut across chunks") << L { "ab", "c\nd", "e\n" } << L { "abc\n", "de\n" } << QByteArray();
    QTest::newRow("rest waits") << L { "x\ny" } << L { "x\n" } << QByteArray("y");
    QTest::newRow("empty chunk") << L { "" } << L {} << QByteArray();
    QTest::newRow("binary bytes and zero")
        << L { QByteArray("\x00\xff\n", 3) } << L { QByteArray("\x00\xff\n", 3) } << QByteArray();
}

void TstLineSplitter::splits()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, pending);
    TempWorkDir dir;
    LineSplitter splitter;
    QList<QByteArray> got;
    for (const QByteArray &chunk : chunks)
        got += splitter.feed(chunk);
    QCOMPARE(got, lines);
    QCOMPARE(splitter.pending(), pending);
}

void TstLineSplitter::keepsPartialLineAcrossChunks()
{
    TempWorkDir dir;
    LineSplitter splitter;
    // One byte at a time, as a slow serial line delivers it.
    const QByteArray stream("first\r\nsecond\n");
    QList<QByteArray> got;
    for (char byte : stream)
        got += splitter.feed(QByteArray(1, byte));
    QCOMPARE(got, (QList<QByteArray> { "first\r\n", "second\n" }));
}

void TstLineSplitter::clearDropsPartialLine()
{
    TempWorkDir dir;
    LineSplitter splitter;
    QVERIFY(splitter.feed("partial").isEmpty());
    splitter.clear();
    QCOMPARE(splitter.feed("new\n"), (QList<QByteArray> { "new\n" }));
}

void TstLineSplitter::endlessLineIsCutAtTheCap_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<int>("firstCut");
    const int cap = LineSplitter::kDefaultMaxLineBytes;
    QTest::newRow("ascii") << QByteArray("x") << cap;
    // "a" then two-byte characters: the cap would fall inside one.
    QTest::newRow("gb2312 pairs kept whole") << QByteArray("\xc1\xf7") << cap - 1;
}

void TstLineSplitter::endlessLineIsCutAtTheCap()
{
    QFETCH(QByteArray, unit);
    QFETCH(int, firstCut);
    TempWorkDir dir;
    LineSplitter splitter;
    const int cap = splitter.maxLineBytes();
    QByteArray stream = "a" + unit.repeated(3 * cap / unit.size());
    QList<QByteArray> lines;
    // A peer that never sends a line feed, in pieces as the link delivers them.
    for (int at = 0; at < stream.size(); at += 1000) {
        lines += splitter.feed(stream.mid(at, 1000));
        QVERIFY(splitter.pending().size() < cap);
    }
    lines += splitter.feed("end\n");
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first().size(), firstCut);
    QVERIFY(LineSplitter::isCut(lines.first()));
    QVERIFY(!LineSplitter::isCut(lines.last()));
    QCOMPARE(lines.join(), stream + "end\n");
}

QTEST_GUILESS_MAIN(TstLineSplitter)
#include "tst_linesplitter.moc"
