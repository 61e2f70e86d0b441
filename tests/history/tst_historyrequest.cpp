#include "history/historyrequest.h"
#include "link/frame.h"

#include <QtTest>

class TstHistoryRequest : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
};

void TstHistoryRequest::bytes_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("one month") << QDate(2018, 3, 1) << QDate(2018, 3, 31)
                               << QByteArray::fromHex("7E05024E9F00079100041203011203 1F55147F");
    QTest::newRow("same day") << QDate(2024, 2, 29) << QDate(2024, 2, 29)
                              << QByteArray::fromHex("7E05024E9F0007910004 18021D 18021D FC8E7F");
    QTest::newRow("year 2000") << QDate(2000, 1, 1) << QDate(2000, 12, 31)
                               << QByteArray::fromHex("7E05024E9F0007910004 000101 000C1F 12CB7F");
    QTest::newRow("year 2099") << QDate(2099, 12, 31) << QDate(2099, 12, 31)
                               << QByteArray::fromHex("7E05024E9F0007910004 630C1F 630C1F 76197F");
    QTest::newRow("across the century") << QDate(1999, 1, 1) << QDate(2100, 1, 1)
                                        << QByteArray::fromHex("7E05024E9F0007910004 630101 000101 19467F");
}

void TstHistoryRequest::bytes()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QByteArray, expected);

    const QByteArray frame = buildHistoryRequest(start, end);
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
    // The program's own acceptance rule agrees it is one tilde frame.
    QVERIFY(isCompleteResponse(frame, 0x01, true));
}

QTEST_GUILESS_MAIN(TstHistoryRequest)
#include "tst_historyrequest.moc"
