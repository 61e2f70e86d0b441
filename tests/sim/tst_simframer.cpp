#include "sim/simframe.h"
#include "sim/simframer.h"

#include <QtTest>

static QByteArray hex(const char *text)
{
    return simFromHex(QString::fromLatin1(text));
}

class TstSimFramer : public QObject
{
    Q_OBJECT
private slots:
    void crc_data();
    void crc();
    void builders();
    void parsesExactFrames_data();
    void parsesExactFrames();
    void rejectsDamagedFrames_data();
    void rejectsDamagedFrames();
    void feedsByteByByte();
    void resyncsAfterGarbage_data();
    void resyncsAfterGarbage();
    void boundsPendingBytes();
};

void TstSimFramer::crc_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("crc");
    QTest::newRow("empty") << QByteArray() << 0xFFFF;
    QTest::newRow("check value") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("item read 1/2") << hex("01 03 4B 02 00 00") << 0xEEF3;
}

void TstSimFramer::crc()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, crc);
    QCOMPARE(int(simCrc16(bytes)), crc);
}

void TstSimFramer::builders()
{
    QCOMPARE(simAddressAnswer(0xFF, "OK"), hex("FF 03 02 4F 4B E5 97"));
    QCOMPARE(simAddressAnswer(1, "OK"), hex("01 03 02 4F 4B CC 43"));
    QCOMPARE(simAddressAnswer(1, QByteArray()).size(), 5);
    QCOMPARE(simAddressAnswer(1, QByteArray(300, 'x')).size(), 255 + 5);
    QCOMPARE(simTildeFrame(hex("7E 05 02 29 3F 00 00")), hex("7E 05 02 29 3F 00 00 C2 C4 7F"));
    QCOMPARE(simTildeReply("Page[0] OK\r\n"),
        hex("7E 02 05 01 01 00 0F 01 00 0C 50 61 67 65 5B 30 5D 20 4F 4B 0D 0A 73 50 7F"));
    QCOMPARE(simDecodeText(simEncodeText(QStringLiteral("波特率:9600"))), QStringLiteral("波特率:9600"));
    QCOMPARE(simEncodeText(QStringLiteral("设")), hex("C9 E8"));
    QCOMPARE(simHex(hex("01ab")), QStringLiteral("01 AB"));
}

void TstSimFramer::parsesExactFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("command");

    const int A = SimRequest::AddressFrame;
    const int B = SimRequest::TildeFrame;
    QTest::newRow("item read") << hex("01 03 4B 02 00 00 F3 EE") << A << 3 << 0x4B << 2 << QByteArray() << 0;
    QTest::newRow("item write abc") << hex("01 0F 4B 05 00 00 04 61 62 63 00 D7 F6") << A << 0x0F << 0x4B << 5
                                    << QByteArray("abc", 4) << 0;
    QTest::newRow("debug on") << hex("FF 0F 4B FF 00 00 02 31 00 54 1F") << A << 0x0F << 0x4B << 255
                              << QByteArray("1", 2) << 0;
    QTest::newRow("clock") << hex("01 0F 4D 08 00 03 07 1A 0C 07 0E 1E 05 01 82 E6") << A << 0x0F << 0x4D << 8
                           << hex("1A 0C 07 0E 1E 05 01") << 0;
    QTest::newRow("identify") << hex("7E 05 02 29 3F 00 00 C2 C4 7F") << B << 0 << 0 << 0 << QByteArray() << 0x293F;
    QTest::newRow("history") << hex("7E 05 02 4E 9F 00 07 91 00 04 12 03 01 12 03 1F 55 14 7F") << B << 0 << 0 << 0
                             << QByteArray() << 0x4E9F;
    QTest::newRow("erase") << hex("7E 05 02 2F AC 00 07 91 00 04 D0 07 00 00 3A C4 7F") << B << 0 << 0 << 0
                           << QByteArray() << 0x2FAC;
}

void TstSimFramer::parsesExactFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, family);
    QFETCH(int, function);
    QFETCH(int, table);
    QFETCH(int, index);
    QFETCH(QByteArray, data);
    QFETCH(int, command);

    SimRequest request;
    QVERIFY(SimFramer::parse(frame, request));
    QCOMPARE(int(request.family), family);
    QCOMPARE(request.bytes, frame);
    QCOMPARE(int(request.function), function);
    QCOMPARE(int(request.table), table);
    QCOMPARE(int(request.index), index);
    QCOMPARE(request.data, data);
    QCOMPARE(int(request.tildeCommand()), command);

    SimFramer framer;
    const QList<SimRequest> fed = framer.feed(frame);
    QCOMPARE(fed.size(), 1);
    QCOMPARE(fed.first().bytes, frame);
    QVERIFY(framer.pending().isEmpty());
}

void TstSimFramer::rejectsDamagedFrames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("read, crc swapped") << hex("01 03 4B 02 00 00 EE F3");
    QTest::newRow("tilde, crc low first") << hex("7E 05 02 29 3F 00 00 C4 C2 7F");
    QTest::newRow("write, L one too big") << hex("01 0F 4B 05 00 00 05 61 62 63 00 D7 F6");
    QTest::newRow("unknown function") << hex("01 06 4B 02 00 00 F3 EE");
    QTest::newRow("too short") << hex("7E 00 7F");
}

void TstSimFramer::rejectsDamagedFrames()
{
    QFETCH(QByteArray, bytes);
    SimRequest request;
    QVERIFY(!SimFramer::parse(bytes, request));
    SimFramer framer;
    QVERIFY(framer.feed(bytes).isEmpty());
    framer.flush();
    QCOMPARE(framer.takeGarbage(), bytes);
}

void TstSimFramer::feedsByteByByte()
{
    const QByteArray stream = hex("01 03 4B 02 00 00 F3 EE") + hex("7E 05 02 29 3F 00 00 C2 C4 7F")
        + hex("01 0F 4B 05 00 00 04 61 62 63 00 D7 F6");
    SimFramer framer;
    QList<QByteArray> frames;
    for (const char byte : stream)
        for (const SimRequest &request : framer.feed(QByteArray(1, byte)))
            frames << request.bytes;
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames.join(), stream);
    QCOMPARE(framer.droppedBytes(), 0);
}

void TstSimFramer::resyncsAfterGarbage_data()
{
    QTest::addColumn<QByteArray>("garbage");
    QTest::newRow("noise") << hex("55 AA 00");
    QTest::newRow("stray tilde start") << hex("7E 05 02");
    QTest::newRow("half a read") << hex("01 03 4B 00 00");
    QTest::newRow("write header with huge L") << hex("01 0F 4B 05 00 00 F0 61");
    QTest::newRow("read with bad crc") << hex("01 03 4B 02 00 00 00 00");
}

void TstSimFramer::resyncsAfterGarbage()
{
    QFETCH(QByteArray, garbage);
    const QByteArray frame = hex("01 03 4B 02 00 00 F3 EE");
    SimFramer framer;
    QList<SimRequest> requests = framer.feed(garbage);
    requests += framer.feed(frame);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().bytes, frame);
    QCOMPARE(framer.takeGarbage(), garbage);
    QVERIFY(framer.pending().isEmpty());

    // Garbage in the middle of one chunk, then another frame.
    const QList<SimRequest> again = framer.feed(frame + garbage + frame);
    QCOMPARE(again.size(), 2);
    QCOMPARE(framer.takeGarbage(), garbage);
}

void TstSimFramer::boundsPendingBytes()
{
    SimFramer framer;
    // A tilde start that never closes must not grow without limit.
    framer.feed(hex("7E") + QByteArray(SimFramer::kMaxPending + 100, char(0x11)));
    QVERIFY(framer.pending().size() <= SimFramer::kMaxPending);
    framer.flush();
    QCOMPARE(framer.feed(hex("01 03 4B 02 00 00 F3 EE")).size(), 1);
}

QTEST_GUILESS_MAIN(TstSimFramer)
#include "tst_simframer.moc"
