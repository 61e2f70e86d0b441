#include "firmware/updateframes.h"
#include "link/frame.h"

#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

} // namespace

class TstUpdateFrames : public QObject
{
    Q_OBJECT

private slots:
    void constantRequests()
    {
        QCOMPARE(buildIdentifyRequest(), hex("7E 05 02 29 3F 00 00 C2 C4 7F"));
        QCOMPARE(buildFinishRequest(), hex("7E 05 02 2A 79 00 00 53 25 7F"));
        QVERIFY(isCompleteResponse(buildIdentifyRequest(), 255, true));
    }

    void eraseRequest_data()
    {
        QTest::addColumn<quint32>("size");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("65536") << quint32(65536) << hex("7E 05 02 2F AC 00 07 91 00 04 00 00 01 00 AB 4C 7F");
        QTest::newRow("2000") << quint32(2000) << hex("7E 05 02 2F AC 00 07 91 00 04 D0 07 00 00 3A C4 7F");
    }

    void eraseRequest()
    {
        QFETCH(quint32, size);
        QFETCH(QByteArray, frame);
        QCOMPARE(buildEraseRequest(size), frame);
    }

    void expectedReplies_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("0") << 0 << hex("7E 02 05 01 01 00 0F 01 00 0C 50 61 67 65 5B 30 5D 20 4F 4B 0D 0A 73 50 7F");
        QTest::newRow("12") << 12
                            << hex("7E 02 05 01 01 00 10 01 00 0D 50 61 67 65 5B 31 32 5D 20 4F 4B 0D 0A F7 A9 7F");
        QTest::newRow("255") << 255
                             << hex("7E 02 05 01 01 00 11 01 00 0E 50 61 67 65 5B 32 35 35 5D 20 4F 4B 0D 0A A5 25 7F");
        QTest::newRow("256 wraps to 0")
            << 256 << hex("7E 02 05 01 01 00 0F 01 00 0C 50 61 67 65 5B 30 5D 20 4F 4B 0D 0A 73 50 7F");
    }

    void expectedReplies()
    {
        QFETCH(int, page);
        QFETCH(QByteArray, frame);
        QCOMPARE(expectedPageReply(page), frame);
    }

    void expectedEraseReply()
    {
        QCOMPARE(::expectedEraseReply(),
            hex("7E 02 05 01 01 00 13 01 00 10 45 72 61 73 65 20 4F 4B 0D 0A 00 00 00 C1 81 40 16 AD 7F"));
    }

    void pageRequest()
    {
        QByteArray data(kFirmwarePageSize, Qt::Uninitialized);
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 13);
        const QByteArray frame = buildPageRequest(data, 300);
        QCOMPARE(frame.size(), 1038);
        QCOMPARE(frame.left(11), hex("7E 05 02 2C 01 04 04 91 04 01 2C"));
        QCOMPARE(frame.mid(11, 1024), data);
        QCOMPARE(frame.at(1037), char(0x7F));
        const quint16 crc = crc16(frame.left(1035));
        QCOMPARE(quint8(frame.at(1035)), quint8(crc >> 8));
        QCOMPARE(quint8(frame.at(1036)), quint8(crc & 0xFF));
        QVERIFY(isCompleteResponse(frame, 255, true));
    }

    // The unused tail of a short page is erased flash, never stale memory.
    void shortPageFilledWithFF()
    {
        const QByteArray frame = buildPageRequest(QByteArray("\x01\x02\x03", 3), 7);
        QCOMPARE(frame.size(), 1038);
        QCOMPARE(frame.mid(10, 4), hex("07 01 02 03"));
        QCOMPARE(frame.mid(14, 1021), QByteArray(1021, char(0xFF)));
        QVERIFY(checkFrameCrc(frame.left(1037), true));
    }

    void replyCheck_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("accepted");
        const QByteArray page3 = expectedPageReply(3);
        const QByteArray okText("Erase OK\r\n");
        QTest::newRow("expected") << int(LinkOk) << page3 << true;
        QTest::newRow("expected but timed out") << int(LinkReceiveTimeout) << page3 << false;
        QTest::newRow("expected but send failed") << int(LinkSendError) << page3 << false;
        QTest::newRow("other page number") << int(LinkOk) << expectedPageReply(4) << false;
        QTest::newRow("empty") << int(LinkOk) << QByteArray() << false;
        QTest::newRow("expected plus one byte") << int(LinkOk) << page3 + '\x00' << false;
        QTest::newRow("bare Erase OK") << int(LinkOk) << okText << true;
        QTest::newRow("Erase OK inside another frame")
            << int(LinkOk) << hex("7E 02 05 01 01 00 0D 01 00 0A") + okText + hex("12 34 7F") << true;
        QTest::newRow("erase reply for a page") << int(LinkOk) << ::expectedEraseReply() << true;
        QTest::newRow("first E is not Erase OK") << int(LinkOk) << QByteArray("ERR\nErase OK\r\n") << false;
        QTest::newRow("no E") << int(LinkOk) << QByteArray("Page[3] ok\r\n") << false;
        QTest::newRow("no line feed") << int(LinkOk) << QByteArray("Erase OK\r") << false;
        QTest::newRow("without carriage return") << int(LinkOk) << QByteArray("Erase OK\n") << false;
    }

    void replyCheck()
    {
        QFETCH(int, result);
        QFETCH(QByteArray, reply);
        QFETCH(bool, accepted);
        QCOMPARE(isAcceptedUpdateReply(LinkResult(result), reply, expectedPageReply(3)), accepted);
    }

    void identification_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("matches");
        QTest::newRow("plain") << "Find M2 OK"
                               << "M2" << true;
        QTest::newRow("bang and several blanks") << "!Find   M2  \t OK"
                                                 << "M2" << true;
        QTest::newRow("inside frame text") << "~\x02\x05"
                                              "Find M2 OK\r\n"
                                           << "M2" << true;
        QTest::newRow("no blank before OK") << "Find M2OK"
                                            << "M2" << false;
        QTest::newRow("lower-case find") << "find M2 OK"
                                         << "M2" << false;
        QTest::newRow("other model") << "Find M3 OK"
                                     << "M2" << false;
        QTest::newRow("model is a pattern") << "Find MX2 OK"
                                            << "M.2" << true;
        QTest::newRow("empty model") << "Find OK"
                                     << "" << false;
        QTest::newRow("empty reply") << ""
                                     << "M2" << false;
    }

    void identification()
    {
        QFETCH(QString, reply);
        QFETCH(QString, model);
        QFETCH(bool, matches);
        QCOMPARE(identificationMatchesModel(reply, model), matches);
    }

    // Only a whole reply frame can identify the meter: what a line cut short,
    // spoilt or mixed with other bytes leaves is none.
    void wellFormedReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("wellFormed");
        const QByteArray found = closeTildeFrame(hex("7E 02 05 01 01 00 11 01 00 0E") + "Find VX-200 OK");
        QByteArray badCrc = found;
        badCrc[badCrc.size() - 2] = char(badCrc.at(badCrc.size() - 2) ^ 0x01);
        QTest::newRow("identification") << found << true;
        QTest::newRow("page 0 reply") << hex(
            "7E 02 05 01 01 00 0F 01 00 0C 50 61 67 65 5B 30 5D 20 4F 4B 0D 0A 73 50 7F")
                                      << true;
        QTest::newRow("first piece") << found.left(9) << false;
        QTest::newRow("last piece missing") << found.chopped(3) << false;
        QTest::newRow("broken CRC") << badCrc << false;
        QTest::newRow("noise before") << QByteArray("\x13\x37") + found << false;
        QTest::newRow("noise after") << found + "\x13" << false;
        QTest::newRow("lengths disagree")
            << closeTildeFrame(hex("7E 02 05 01 01 00 12 01 00 0E") + "Find VX-200 OK") << false;
        QTest::newRow("marker of a request")
            << closeTildeFrame(hex("7E 02 05 01 01 00 11 91 00 0E") + "Find VX-200 OK") << false;
        QTest::newRow("a request") << buildIdentifyRequest() << false;
        QTest::newRow("an item answer") << hex("01 03 0F C9 E8 B1 B8 D0 CD BA C5 3A 56 58 2D 32 30 30 DB B1") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }

    void wellFormedReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, wellFormed);
        QCOMPARE(isWellFormedReply(reply), wellFormed);
    }
};

QTEST_GUILESS_MAIN(TstUpdateFrames)
#include "tst_updateframes.moc"
