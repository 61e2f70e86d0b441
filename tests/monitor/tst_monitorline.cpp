#include "monitor/monitorline.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

class TstMonitorLine : public QObject
{
    Q_OBJECT

private slots:
    void prefix();
    void format_data();
    void format();
    void timestampsInTextModeOnly();

private:
    static QDateTime fixedTime() { return QDateTime(QDate(2018, 3, 1), QTime(12, 0, 0, 123)); }
};

void TstMonitorLine::prefix()
{
    TempWorkDir dir;
    QCOMPARE(monitorPrefix(fixedTime(), 15), QStringLiteral("[2018-03-01 12:00:00.123][15] : "));
    // 24-hour clock, zero-padded fields.
    QCOMPARE(monitorPrefix(QDateTime(QDate(2024, 12, 31), QTime(23, 5, 9, 7)), 0),
        QStringLiteral("[2024-12-31 23:05:09.007][0] : "));
}

void TstMonitorLine::format_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");

    const QString p3 = QStringLiteral("[2018-03-01 12:00:00.123][3] : ");
    QTest::newRow("raw keeps everything")
        << QByteArray("1\r\n") << int(MonitorMode::Original) << QStringLiteral("1\r\n");
    QTest::newRow("raw decodes gb2312") << QByteArray("\xc1\xf7\xc1\xbf\n") << int(MonitorMode::Original)
                                        << QStringLiteral("流量\n");
    QTest::newRow("hex") << QByteArray("1\r\n") << int(MonitorMode::Hex) << p3 + QStringLiteral("31 0D 0A \r\n");
    QTest::newRow("combined trims the line end")
        << QByteArray("1\r\n") << int(MonitorMode::OriginalHex) << p3 + QStringLiteral("1 ( 31 0D 0A  )\r\n");
    QTest::newRow("combined empty line") << QByteArray("\r\n") << int(MonitorMode::OriginalHex)
                                         << QStringLiteral("[2018-03-01 12:00:00.123][2] : ")
            + QStringLiteral(" ( 0D 0A  )\r\n");
    QTest::newRow("combined inner line ends become blanks")
        << QByteArray(" a\rb\n") << int(MonitorMode::OriginalHex)
        << QStringLiteral("[2018-03-01 12:00:00.123][5] : a b ( 20 61 0D 62 0A  )\r\n");
    QTest::newRow("combined chinese counts bytes")
        << QByteArray("\xc1\xf7\xc1\xbf\n") << int(MonitorMode::OriginalHex)
        << QStringLiteral("[2018-03-01 12:00:00.123][5] : 流量 ( C1 F7 C1 BF 0A  )\r\n");
}

void TstMonitorLine::format()
{
    QFETCH(QByteArray, line);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    TempWorkDir dir;
    QCOMPARE(formatMonitorLine(line, MonitorMode(mode), fixedTime()), expected);
}

void TstMonitorLine::timestampsInTextModeOnly()
{
    TempWorkDir dir;
    MonitorLineFormat format;
    format.timestamps = true;
    QCOMPARE(formatShownLine("1\r\n", format, fixedTime()), QStringLiteral("[2018-03-01 12:00:00.123] 1\r\n"));
    format.mode = MonitorMode::Hex;
    QCOMPARE(formatShownLine("1\r\n", format, fixedTime()), formatMonitorLine("1\r\n", MonitorMode::Hex, fixedTime()));
}

QTEST_GUILESS_MAIN(TstMonitorLine)
#include "tst_monitorline.moc"
