#include "link/frame.h"

#include "tests/support/tempworkdir.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Appends the CRC low byte first, as address frames carry it.
QByteArray withCrc(QByteArray body)
{
    const quint16 crc = crc16(body);
    body += char(crc & 0xFF);
    body += char(crc >> 8);
    return body;
}

// 254 bytes: the longest text a write frame can carry.
QString longestItemText()
{
    return QString(127, QChar(0x8BBE)); // 设, two bytes in GB2312
}

} // namespace

class TstFrame : public QObject
{
    Q_OBJECT

private slots:
    void crc_data();
    void crc();
    void checkFrameCrc_data();
    void checkFrameCrc();
    void checkFrameCrcShortReadsNothing();
    void completeResponse_data();
    void completeResponse();
    void errorText_data();
    void errorText();
    void errorTextTranslated();
    void gb2312RoundTrip();
    void gb2312Undecodable();
    void hexDump_data();
    void hexDump();
    void itemWriteFrame_data();
    void itemWriteFrame();
};

void TstFrame::crc_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QByteArray() << 0xFFFF;
    QTest::newRow("check value") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("item read addr 1 index 2") << hex("01034B020000") << 0xEEF3;
    QTest::newRow("answer OK") << hex("FF03024F4B") << 0x97E5;
    QTest::newRow("firmware frame") << hex("7E0502293F0000") << 0xC2C4;
}

void TstFrame::crc()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(int(crc16(bytes)), expected);
    QCOMPARE(int(crc16(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size())), expected);
}

void TstFrame::checkFrameCrc_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("highFirst");
    QTest::addColumn<bool>("expected");
    QTest::newRow("item read, low first") << hex("01034B020000F3EE") << false << true;
    QTest::newRow("item read, high first") << hex("01034B020000F3EE") << true << false;
    QTest::newRow("answer, low first") << hex("FF03024F4BE597") << false << true;
    QTest::newRow("answer, high first") << hex("FF03024F4BE597") << true << false;
    QTest::newRow("firmware, high first") << hex("7E0502293F0000C2C4") << true << true;
    QTest::newRow("firmware, low first") << hex("7E0502293F0000C2C4") << false << false;
    QTest::newRow("one bit off") << hex("FF03024F4AE597") << false << false;
    QTest::newRow("three bytes, crc of one") << withCrc(hex("01")) << false << true;
    QTest::newRow("two bytes") << hex("FFFF") << false << false;
    QTest::newRow("empty") << QByteArray() << false << false;
}

void TstFrame::checkFrameCrc()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, highFirst);
    QFETCH(bool, expected);
    QCOMPARE(::checkFrameCrc(frame, highFirst), expected);
}

void TstFrame::checkFrameCrcShortReadsNothing()
{
    // A null pointer would crash if any byte were read.
    for (int length = 0; length < 3; ++length) {
        QCOMPARE(::checkFrameCrc(nullptr, length, false), false);
        QCOMPARE(::checkFrameCrc(nullptr, length, true), false);
    }
}

void TstFrame::completeResponse_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("highFirst");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("leading"); // length of the complete answer at the start

    const QByteArray end = withCrc(hex("FF0300"));
    const QByteArray at7e = withCrc(hex("7E0300"));
    const QByteArray fromOther = withCrc(hex("01034F4B"));

    QTest::newRow("empty") << QByteArray() << 255 << false << false << 0;
    QTest::newRow("7E 00 7F too short") << hex("7E007F") << 1 << true << false << 0;
    QTest::newRow("end of list, 5 bytes") << end << 255 << false << true << 5;
    QTest::newRow("end of list cut to 4") << end.left(4) << 255 << false << false << 0;
    QTest::newRow("answer OK") << hex("FF03024F4BE597") << 255 << false << true << 7;
    QTest::newRow("answer OK, high first") << hex("FF03024F4BE597") << 255 << true << false << 0;
    QTest::newRow("answer missing last byte") << hex("FF03024F4BE5") << 255 << false << false << 0;
    QTest::newRow("answer with a trailing byte") << hex("FF03024F4BE59700") << 255 << false << false << 7;
    QTest::newRow("firmware, high first") << hex("7E0502293F0000C2C47F") << 1 << true << true << 10;
    QTest::newRow("firmware, low first") << hex("7E0502293F0000C2C47F") << 1 << false << false << 0;
    QTest::newRow("firmware without 7F") << hex("7E0502293F0000C2C4") << 1 << true << false << 0;
    // The address rule wins over the tilde rule for an instrument at 0x7E.
    QTest::newRow("address 7E, address frame") << at7e << 0x7E << false << true << 5;
    QTest::newRow("address 7E, tilde frame") << hex("7E0502293F0000C2C47F") << 0x7E << true << false << 0;
    QTest::newRow("other address, whole crc") << fromOther << 255 << false << true << 6;
    // Two answers in one piece: the first is told apart.
    const QByteArray ok = hex("FF03024F4BE597");
    QTest::newRow("answer twice in one piece") << ok + ok << 255 << false << false << 7;
    QTest::newRow("other address, then the answer") << withCrc(hex("0103024F4B")) + ok << 255 << false << false << 7;
    QTest::newRow("tilde frame twice") << hex("7E0502293F0000C2C47F7E0502293F0000C2C47F") << 1 << true << false << 10;
    QTest::newRow("tilde frame cut") << hex("7E0502293F0000C2C47E05") << 1 << true << false << 0;
    QTest::newRow("junk, then the answer") << hex("AA") + ok << 255 << false << false << 0;
    QTest::newRow("other address, bad crc") << hex("01034F4B0000") << 255 << false << false << 0;
}

void TstFrame::completeResponse()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, address);
    QFETCH(bool, highFirst);
    QFETCH(bool, expected);
    QCOMPARE(isCompleteResponse(buffer, quint8(address), highFirst), expected);
    QTEST(leadingResponseLength(buffer, quint8(address), highFirst), "leading");
}

void TstFrame::errorText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ok") << int(LinkOk) << hex("FF03024F4BE597") << QString();
    QTest::newRow("ok, bad crc") << int(LinkOk) << hex("FF03024F4BE598") << QStringLiteral("CRC校验错误");
    QTest::newRow("ok, two bytes") << int(LinkOk) << hex("FFFF") << QStringLiteral("CRC校验错误");
    QTest::newRow("ok, nothing") << int(LinkOk) << QByteArray() << QStringLiteral("CRC校验错误");
    QTest::newRow("send") << int(LinkSendError) << QByteArray() << QStringLiteral("发送命令超时");
    QTest::newRow("receive") << int(LinkReceiveTimeout) << hex("FF03024F4BE597") << QStringLiteral("接受数据超时");
    QTest::newRow("3") << 3 << QByteArray() << QStringLiteral("未定义的错误");
    QTest::newRow("-1") << -1 << QByteArray() << QStringLiteral("未定义的错误");
}

void TstFrame::errorText()
{
    QFETCH(int, code);
    QFETCH(QByteArray, response);
    QFETCH(QString, expected);
    QCOMPARE(linkErrorText(LinkResult(code), response), expected);
}

void TstFrame::errorTextTranslated()
{
    TempWorkDir dir;
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(VEXA_QM_DIR "/en_US.qm")));
    QCoreApplication::installTranslator(&translator);
    const QString text = linkErrorText(LinkReceiveTimeout, QByteArray());
    const QString crcText = linkErrorText(LinkOk, QByteArray());
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(text, QStringLiteral("Receiving data timed out."));
    QCOMPARE(crcText, QStringLiteral("CRC check failed."));
}

void TstFrame::gb2312RoundTrip()
{
    const QString text = QStringLiteral("设备型号:ABC");
    const QByteArray bytes = hex("C9E8B1B8D0CDBAC53A414243");
    QCOMPARE(encodeGb2312(text), bytes);
    QCOMPARE(decodeGb2312(bytes), text);
    QCOMPARE(decodeGb2312(bytes.constData(), 4), QStringLiteral("设备"));
    QCOMPARE(decodeGb2312(nullptr, 0), QString());
}

void TstFrame::gb2312Undecodable()
{
    // A lone lead byte is not an error: the codec substitutes.
    const QString text = decodeGb2312(hex("41C9"));
    QVERIFY(text.startsWith(QLatin1Char('A')));
}

void TstFrame::hexDump_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("01 AB") << hex("01AB") << QStringLiteral("01 AB ");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("00 7e ff") << hex("007eff") << QStringLiteral("00 7E FF ");
}

void TstFrame::hexDump()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(::hexDump(bytes), expected);
}

void TstFrame::itemWriteFrame_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("fits");

    QTest::newRow("abc") << 1 << 5 << QStringLiteral("abc") << hex("010F4B0500000461626300D7F6") << true;
    QTest::newRow("debug on") << 255 << 255 << QStringLiteral("1") << hex("FF0F4BFF0000023100541F") << true;
    QTest::newRow("debug off") << 255 << 255 << QStringLiteral("0") << hex("FF0F4BFF0000023000558F") << true;
    QTest::newRow("index wraps to low byte")
        << 255 << 256 + 255 << QStringLiteral("1") << hex("FF0F4BFF0000023100541F") << true;

    QTest::newRow("empty text") << 1 << 7 << QString() << withCrc(hex("010F4B0700000100")) << true;
    QTest::newRow("GB2312 text") << 1 << 0 << QStringLiteral("设备") << withCrc(hex("010F4B00000005C9E8B1B800"))
                                 << true;
    const QByteArray longest = withCrc(hex("010F4B010000FF") + encodeGb2312(longestItemText()) + QByteArray(1, '\0'));
    QTest::newRow("254 bytes fit") << 1 << 1 << longestItemText() << longest << true;
    QTest::newRow("255 bytes refused") << 1 << 1 << longestItemText() + QLatin1Char('x') << QByteArray() << false;
    QTest::newRow("256 bytes refused") << 1 << 1 << longestItemText() + QChar(0x5907) << QByteArray() << false;
}

void TstFrame::itemWriteFrame()
{
    QFETCH(int, address);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QFETCH(bool, fits);
    const QByteArray frame = buildItemWriteFrame(quint8(address), index, text);
    QCOMPARE(::hexDump(frame), ::hexDump(expected));
    QCOMPARE(itemTextFits(text), fits);
    if (fits)
        QVERIFY(::checkFrameCrc(frame, false));
}

QTEST_GUILESS_MAIN(TstFrame)
#include "tst_frame.moc"
