#include "monitor/monitorcommand.h"
#include "monitor/monitorline.h"
#include "monitor/monitorsend.h"
#include "monitor/sendhistory.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

Q_DECLARE_METATYPE(SendMode)
Q_DECLARE_METATYPE(SendLineEnd)

class TstMonitorLine : public QObject
{
    Q_OBJECT

private slots:
    void prefix();
    void format_data();
    void format();
    void timestampsInTextModeOnly();
    void sendPayload_data();
    void sendPayload();
    void commandLines_data();
    void commandLines();
    void commandFileAndHistory();

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

void TstMonitorLine::sendPayload_data()
{
    QTest::addColumn<SendMode>("mode");
    QTest::addColumn<SendLineEnd>("lineEnd");
    QTest::addColumn<bool>("crc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const auto text = SendMode::Text;
    const auto hex = SendMode::Hex;
    const auto none = SendLineEnd::None;
    // The debug switch "1" to address 255 and its CRC, low byte first.
    const QString switchOn = "FF0F4BFF0000023100";
    const QByteArray switchOnFrame = QByteArray::fromHex("FF0F4BFF0000023100541F");
    QTest::newRow("text, CR LF") << text << SendLineEnd::CrLf << false << "AT" << QByteArray("AT\r\n") << "";
    QTest::newRow("text, CR") << text << SendLineEnd::Cr << false << "AT" << QByteArray("AT\r") << "";
    QTest::newRow("text, LF") << text << SendLineEnd::Lf << false << "AT" << QByteArray("AT\n") << "";
    QTest::newRow("text in GB2312") << text << none << false << "流量" << QByteArray("\xc1\xf7\xc1\xbf") << "";
    QTest::newRow("text outside GB2312") << text << none << false << "a😀" << QByteArray() << "文本含有GB2312以外的字符";
    QTest::newRow("hex with blanks") << hex << none << false << " 01 03\t4b " << QByteArray("\x01\x03\x4b") << "";
    QTest::newRow("hex without blanks") << hex << none << false << "01034B" << QByteArray("\x01\x03\x4b") << "";
    QTest::newRow("hex digit alone") << hex << none << false << "01 2 03" << QByteArray()
                                     << "第4个字符: 十六进制数字不成对";
    QTest::newRow("hex odd at the end") << hex << none << false << "0103 4" << QByteArray()
                                        << "第6个字符: 十六进制数字不成对";
    QTest::newRow("hex with a letter") << hex << none << false << "01 0G" << QByteArray()
                                       << "第5个字符不是十六进制数字";
    QTest::newRow("hex with 0x") << hex << none << false << "0x01" << QByteArray() << "第2个字符不是十六进制数字";
    QTest::newRow("a wide character is one position")
        << hex << none << false << "01 😀 02" << QByteArray() << "第4个字符不是十六进制数字";
    QTest::newRow("nothing to send") << text << none << false << "" << QByteArray() << "没有要发送的内容";
    QTest::newRow("CRC low byte first") << hex << none << true << switchOn << switchOnFrame << "";
    QTest::newRow("CRC before the line end") << hex << SendLineEnd::CrLf << true << switchOn << switchOnFrame + "\r\n"
                                             << "";
    QTest::newRow("line end alone") << text << SendLineEnd::Lf << true << "" << QByteArray("\n") << "";
    QTest::newRow("4096 bytes") << hex << none << false << QString(8192, '0') << QByteArray(4096, 0) << "";
    QTest::newRow("4097 with the line end") << text << SendLineEnd::Lf << false << QString(4096, 'a') << QByteArray()
                                            << "一次最多发送4096字节,这次是4097字节";
    QTest::newRow("4098 with the CRC") << text << none << true << QString(4096, 'a') << QByteArray()
                                       << "一次最多发送4096字节,这次是4098字节";
}

void TstMonitorLine::sendPayload()
{
    QFETCH(SendMode, mode);
    QFETCH(SendLineEnd, lineEnd);
    QFETCH(bool, crc);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    SendRequest request;
    request.mode = mode;
    request.lineEnd = lineEnd;
    request.appendCrc = crc;
    request.text = text;
    const SendPayload payload = buildSendPayload(request);
    QCOMPARE(payload.error, error);
    QCOMPARE(payload.bytes.toHex(' '), bytes.toHex(' '));
}

void TstMonitorLine::commandLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("text") << "版本\ttext\tcrlf\tAT+VER?"
                          << "";
    QTest::newRow("hex") << "读第0项\thex\tnone\t01 03 4B 00 00 00 F1 D2"
                         << "";
    QTest::newRow("tab in the text") << "t\ttext\tnone\ta\tb"
                                     << "";
    QTest::newRow("too few fields") << "t\ttext\tnone"
                                    << "应为 名称<TAB>模式<TAB>行尾<TAB>内容";
    QTest::newRow("no name") << " \ttext\tnone\tx"
                             << "缺少名称";
    QTest::newRow("unknown mode") << "t\tbinary\tnone\tx"
                                  << "未知的模式: binary";
    QTest::newRow("unknown line end") << "t\ttext\tcrcr\tx"
                                      << "未知的行尾: crcr";
    QTest::newRow("hex that cannot be sent") << "t\thex\tnone\t0"
                                             << "第1个字符: 十六进制数字不成对";
    // A command file could not give them back (found by fuzz_monitor_send).
    QTest::newRow("carriage return at the end") << "t\ttext\tnone\tx\r"
                                                << "名称和内容不能含回车或换行符,行尾请用行尾选项";
    QTest::newRow("line feed in the name") << "a\nb\ttext\tnone\tx"
                                           << "名称和内容不能含回车或换行符,行尾请用行尾选项";
    QTest::newRow("other control characters") << "t\ttext\tnone\ta\x01\x1b"
                                              << "";
}

void TstMonitorLine::commandLines()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    MonitorCommand command;
    QCOMPARE(MonitorCommand::fromLine(line, &command), error);
    if (error.isEmpty())
        QCOMPARE(command.toLine(), line);
}

void TstMonitorLine::commandFileAndHistory()
{
    TempWorkDir dir;
    // Written as read: a BOM and CR LF line ends are taken, blank lines skipped.
    dir.writeFile("in.txt",
        "\xef\xbb\xbf"
        "a\ttext\tcr\tAT\r\n\r\nb\thex\tnone\t01 02\r\n");
    QList<MonitorCommand> commands;
    QCOMPARE(readCommandFile(dir.filePath("in.txt"), &commands), QString());
    QCOMPARE(commands.size(), 2);
    QCOMPARE(commands.at(1).request().mode, SendMode::Hex);
    QCOMPARE(writeCommandFile(dir.filePath("out.txt"), commands), QString());
    QCOMPARE(dir.readFile("out.txt"), QByteArray("a\ttext\tcr\tAT\nb\thex\tnone\t01 02\n"));
    dir.writeFile("bad.txt", "a\ttext\tcr\tAT\nb\thex\tnone\t01 0\n");
    QCOMPARE(readCommandFile(dir.filePath("bad.txt"), &commands), QString("第2行: 第4个字符: 十六进制数字不成对"));

    // Up walks back through the last 50 lines, Down returns to what was typed.
    SendHistory history;
    for (int i = 0; i < 60; ++i)
        history.add(QString::number(i));
    history.add("59");
    QCOMPARE(history.size(), 50);
    QCOMPARE(history.older("typed"), QString("59"));
    QCOMPARE(history.older("59"), QString("58"));
    QCOMPARE(history.newer("58"), QString("59"));
    QCOMPARE(history.newer("59"), QString("typed"));
    for (int i = 0; i < 55; ++i)
        history.older("x");
    QCOMPARE(history.older("x"), QString("10"));
}

QTEST_GUILESS_MAIN(TstMonitorLine)
#include "tst_monitorline.moc"
