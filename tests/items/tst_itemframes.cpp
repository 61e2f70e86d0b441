#include "items/itemframes.h"
#include "link/frame.h"

#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TstItemFrames : public QObject
{
    Q_OBJECT

private slots:
    void readFrame_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("address 1, index 2") << 1 << 2 << hex("01034B020000F3EE");
        QTest::newRow("index keeps its low byte") << 1 << 258 << hex("01034B020000F3EE");
    }
    void readFrame()
    {
        QFETCH(int, address);
        QFETCH(int, index);
        QFETCH(QByteArray, frame);
        QCOMPARE(buildItemReadFrame(quint8(address), index), frame);
    }

    void splitItemText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("name and value") << QStringLiteral("设备型号:ABC") << QStringList { "设备型号", "ABC" };
        QTest::newRow("trimmed parts") << QStringLiteral("a: b :c") << QStringList { "a", "b", "c" };
        QTest::newRow("command") << QStringLiteral("恢复出厂") << QStringList { "恢复出厂" };
        QTest::newRow("empty value") << QStringLiteral("x:") << QStringList { "x", "" };
    }
    void splitItemText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        QCOMPARE(::splitItemText(text), fields);
    }

    void parseItemAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("fields");
        const QByteArray text = encodeGb2312(QStringLiteral("波特率:9600"));
        QByteArray good = QByteArray("\x01\x03", 2) + char(text.size()) + text + QByteArray(2, 0);
        QTest::newRow("good") << good << true << QStringList { "波特率", "9600" };
        QTest::newRow("end of list") << hex("0103000000") << true << QStringList { "" };
        QByteArray other = good;
        other[0] = 2;
        QTest::newRow("other address") << other << false << QStringList();
        QByteArray code = good;
        code[1] = 0x10;
        QTest::newRow("other code") << code << false << QStringList();
        QTest::newRow("length byte too large") << good.left(good.size() - 1) << false << QStringList();
        QTest::newRow("four bytes") << hex("01030000") << false << QStringList();
    }
    void parseItemAnswer()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, ok);
        QFETCH(QStringList, fields);
        QStringList parsed;
        QCOMPARE(::parseItemAnswer(answer, 1, &parsed), ok);
        if (ok)
            QCOMPARE(parsed, fields);
    }

    void clockFrame_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("monday afternoon")
            << 1 << QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5)) << hex("010F4D080003071A0C070E1E0501");
        QTest::newRow("sunday is 7") << 255 << QDateTime(QDate(2026, 12, 13), QTime(0, 0, 0))
                                     << hex("FF0F4D080003071A0C0D00000007");
        QTest::newRow("year 2000 is 0") << 255 << QDateTime(QDate(2000, 1, 1), QTime(23, 59, 59))
                                        << hex("FF0F4D08000307000101173B3B06");
    }
    void clockFrame()
    {
        QFETCH(int, address);
        QFETCH(QDateTime, time);
        QFETCH(QByteArray, head);
        const QByteArray frame = buildClockFrame(quint8(address), time);
        QCOMPARE(frame.size(), 16);
        QCOMPARE(frame.left(14).toHex(' '), head.toHex(' '));
        QVERIFY(checkFrameCrc(frame, false));
    }

    void clockFrameExample()
    {
        QCOMPARE(buildClockFrame(1, QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5))).toHex(' '),
            hex("010F4D080003071A0C070E1E050182E6").toHex(' '));
    }

    void clockAcknowledgement_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("default address") << 255 << hex("FF03024F4BE597");
        QTest::newRow("address 1") << 1 << hex("0103024F4BCC43");
    }
    void clockAcknowledgement()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, frame);
        QCOMPARE(::clockAcknowledgement(quint8(address)), frame);
    }
};

QTEST_GUILESS_MAIN(TstItemFrames)
#include "tst_itemframes.moc"
