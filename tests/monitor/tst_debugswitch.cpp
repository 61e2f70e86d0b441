#include "link/frame.h"
#include "monitor/debugswitch.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

class TstDebugSwitch : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void locate_data();
    void locate();
};

void TstDebugSwitch::frames_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("on, default address") << 255 << true << QByteArray::fromHex("FF0F4BFF00000231 00541F");
    QTest::newRow("off, default address") << 255 << false << QByteArray::fromHex("FF0F4BFF00000230 00558F");
    QTest::newRow("on, address 1") << 1 << true << buildItemWriteFrame(1, 255, QStringLiteral("1"));
}

void TstDebugSwitch::frames()
{
    QFETCH(int, address);
    QFETCH(bool, on);
    QFETCH(QByteArray, frame);
    TempWorkDir dir;
    QCOMPARE(buildDebugSwitchFrame(quint8(address), on).toHex(' '), frame.toHex(' '));
}

void TstDebugSwitch::locate_data()
{
    // FF 03 01 31 + CRC: the answer to "1" at address 255.
    QByteArray answer = QByteArray::fromHex("FF030131");
    const quint16 crc = crc16(answer);
    answer.append(char(crc & 0xFF)).append(char(crc >> 8));

    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::newRow("answer alone") << answer << 0 << answer.size();
    QTest::newRow("line bytes before") << QByteArray("x=1\r\n") + answer << 5 << answer.size();
    QTest::newRow("new line after") << answer + QByteArray("00001 A") << 0 << answer.size();
    QTest::newRow("both") << QByteArray("T=25\n") + answer + QByteArray("Q=") << 5 << answer.size();
    QTest::newRow("incomplete") << answer.left(answer.size() - 1) << -1 << 0;
    QTest::newRow("bad crc") << answer.left(answer.size() - 1) + QByteArray(1, char(answer.back() ^ 1)) << -1 << 0;
    QTest::newRow("other address") << QByteArray("abc") + QByteArray::fromHex("01030131") + answer.right(2) << -1 << 0;
    QTest::newRow("empty") << QByteArray() << -1 << 0;
}

void TstDebugSwitch::locate()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, start);
    QFETCH(int, length);
    TempWorkDir dir;
    int found = -7;
    QCOMPARE(locateResponse(buffer, 0xFF, &found), start);
    QCOMPARE(found, length);
}

QTEST_GUILESS_MAIN(TstDebugSwitch)
#include "tst_debugswitch.moc"
