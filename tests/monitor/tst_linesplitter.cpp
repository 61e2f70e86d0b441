#include "monitor/linesplitter.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

class TestLineSplitter : public QObject
{
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
    void keepsPartialLineAcrossChunks();
    void clearDropsPartialLine();
};

void TestLineSplitter::splits_data()
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

void TestLineSplitter::splits()
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

void TestLineSplitter::keepsPartialLineAcrossChunks()
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

void TestLineSplitter::clearDropsPartialLine()
{
    TempWorkDir dir;
    LineSplitter splitter;
    QVERIFY(splitter.feed("partial").isEmpty());
    splitter.clear();
    QCOMPARE(splitter.feed("new\n"), (QList<QByteArray> { "new\n" }));
}

QTEST_GUILESS_MAIN(TestLineSplitter)
#include "tst_linesplitter.moc"
