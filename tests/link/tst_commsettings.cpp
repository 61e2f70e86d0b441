#include "link/commsettings.h"
#include "link/linkfailure.h"
#include "link/devicechannel.h"
#include "link/serialportnames.h"
#include "tests/support/tempworkdir.h"

#include <QSettings>
#include <QtTest>

Q_DECLARE_METATYPE(LinkFailure::Kind)

class TstCommSettings : public QObject
{
    Q_OBJECT

private slots:
    void portNamesAreOrderedByLengthThenText_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("windows") << QStringList { "COM10", "COM2", "COM1" } << QStringList { "COM1", "COM2", "COM10" };
        QTest::newRow("duplicates and blanks")
            << QStringList { "COM3", "", "COM3", "COM12", "COM3" } << QStringList { "COM3", "COM12" };
        QTest::newRow("linux") << QStringList { "ttyUSB10", "ttyS0", "ttyUSB2", "ttyACM0" }
                               << QStringList { "ttyS0", "ttyACM0", "ttyUSB2", "ttyUSB10" };
        QTest::newRow("case kept apart") << QStringList { "com1", "COM1" } << QStringList { "COM1", "com1" };
        QTest::newRow("empty") << QStringList {} << QStringList {};
    }
    void portNamesAreOrderedByLengthThenText()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        QCOMPARE(orderedPortNames(names), expected);
    }

    void targetTextNamesTheConnection_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing stored") << ""
                                        << "未选择串口 · 地址 255";
        QTest::newRow("udp") << "[communicate]\nudp=1\n[udp]\naddress=127.0.0.1\nport=47800\n"
                             << "UDP 127.0.0.1:47800 · 地址 255";
        QTest::newRow("udp ipv6") << "[communicate]\nudp=1\n[udp]\naddress=::1\nport=47800\n[device]\naddress=7\n"
                                  << "UDP [::1]:47800 · 地址 7";
        QTest::newRow("udp unset") << "[communicate]\nudp=1\n"
                                   << "UDP 未设置地址 · 地址 255";
        QTest::newRow("serial") << "[serial]\nport=/dev/ttyUSB0\n[device]\naddress=1\n"
                                << "/dev/ttyUSB0 9600 8N1 · 地址 1";
        QTest::newRow("serial even, 1.5 stop bits")
            << "[serial]\nport=ttyS0\nbaudrate=19200\ndatabits=7\nparity=2\nstopbits=3\n[device]\naddress=300\n"
            << "ttyS0 19200 7E1.5 · 地址 44";
        QTest::newRow("percent in a path") << "[serial]\nport=/dev/x%1\nparity=3\nstopbits=2\n"
                                           << "/dev/x%1 9600 8O2 · 地址 255";
    }
    void targetTextNamesTheConnection()
    {
        QFETCH(QString, ini);
        QFETCH(QString, expected);
        TempWorkDir dir;
        QVERIFY(dir.writeFile(QStringLiteral("target.ini"), ini.toUtf8()));
        const QSettings settings(dir.filePath(QStringLiteral("target.ini")), QSettings::IniFormat);
        QCOMPARE(readLinkSettings(settings).targetText(), expected);
    }

    void linkErrorsGetASecondLine_data()
    {
        QTest::addColumn<LinkFailure::Kind>("kind");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("expected");
        const QString target = QStringLiteral("UDP 127.0.0.1:47800 · 地址 1");
        const QString wiring = QStringLiteral(": 请检查电缆、端口和设备地址，并确认仪表已通电。");
        const QString port = QStringLiteral(": 请检查端口名称，以及端口是否被其他程序占用。");
        QTest::newRow("receive time-out") << LinkFailure::Kind::TimedOut << "接受数据超时"
                                          << ""
                                          << "接受数据超时\n" + target + wiring;
        QTest::newRow("send time-out") << LinkFailure::Kind::TimedOut << "发送命令超时"
                                       << ""
                                       << "发送命令超时\n" + target + wiring;
        QTest::newRow("port with reason") << LinkFailure::Kind::NotOpened << "打开串口失败: /dev/x"
                                          << "Permission denied"
                                          << "打开串口失败: /dev/x\n" + target + " (Permission denied)" + port;
        QTest::newRow("no port") << LinkFailure::Kind::NotOpened << "串口打开失败"
                                 << ""
                                 << "串口打开失败\n" + target + port;
        QTest::newRow("behind a task's words") << LinkFailure::Kind::NotOpened << "固件更新失败,打开串口失败: /dev/x"
                                               << ""
                                               << "固件更新失败,打开串口失败: /dev/x\n" + target + port;
        QTest::newRow("other failures unchanged") << LinkFailure::Kind::BadAnswer << "CRC校验错误"
                                                  << ""
                                                  << "CRC校验错误";
        QTest::newRow("a refused send unchanged") << LinkFailure::Kind::SendFailed << "发送命令失败"
                                                  << ""
                                                  << "发送命令失败";
        QTest::newRow("wrong model unchanged")
            << LinkFailure::Kind::WrongModel << "固件更新失败,BIN文件与设备型号不一致!\nA"
            << ""
            << "固件更新失败,BIN文件与设备型号不一致!\nA";
    }
    void linkErrorsGetASecondLine()
    {
        QFETCH(LinkFailure::Kind, kind);
        QFETCH(QString, error);
        QFETCH(QString, reason);
        QFETCH(QString, expected);
        LinkFailure failure = LinkFailure::of(kind, QStringLiteral("first"));
        failure.target = QStringLiteral("UDP 127.0.0.1:47800 · 地址 1");
        failure.reason = reason;
        // Told under another first line, the context is still said once.
        QCOMPARE(failure.saying(error).text(), expected);
        QCOMPARE(failure.saying(error).kind, kind);
    }

    // What an exchange amounts to: a time-out, a bad answer or none.
    void exchangeResultsHaveAKind_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<LinkFailure::Kind>("kind");
        const QByteArray answer = QByteArray::fromHex("ff03024f4be597");
        QTest::newRow("answer") << int(LinkOk) << answer << LinkFailure::Kind::None;
        QTest::newRow("bad crc") << int(LinkOk) << answer.left(6) << LinkFailure::Kind::BadAnswer;
        QTest::newRow("nothing") << int(LinkOk) << QByteArray() << LinkFailure::Kind::BadAnswer;
        QTest::newRow("send") << int(LinkSendError) << QByteArray() << LinkFailure::Kind::TimedOut;
        QTest::newRow("receive") << int(LinkReceiveTimeout) << answer << LinkFailure::Kind::TimedOut;
        QTest::newRow("stopped") << int(LinkStopped) << QByteArray() << LinkFailure::Kind::None;
    }
    void exchangeResultsHaveAKind()
    {
        QFETCH(int, result);
        QFETCH(QByteArray, response);
        QFETCH(LinkFailure::Kind, kind);
        QCOMPARE(linkFailureKind(LinkResult(result), response), kind);
    }

    void udpChoiceIsChecked_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("error");
        const QString noAddress = QStringLiteral("请输入UDP地址");
        const QString noPort = QStringLiteral("请输入UDP端口");
        const QString badAddress = QStringLiteral("UDP地址无效，请输入IPv4或IPv6地址");
        const QString badPort = QStringLiteral("UDP端口无效，请输入1到65535之间的数字");
        QTest::newRow("ipv4") << "192.168.1.120"
                              << "8234" << QString();
        QTest::newRow("ipv6") << "fe80::1"
                              << "1" << QString();
        QTest::newRow("ipv6 loopback") << "::1"
                                       << "65535" << QString();
        QTest::newRow("leading zeros in port") << "10.0.0.1"
                                               << "00080" << QString();
        QTest::newRow("empty address first") << ""
                                             << "" << noAddress;
        QTest::newRow("empty port") << "10.0.0.1"
                                    << "" << noPort;
        QTest::newRow("host name") << "meter.local"
                                   << "8234" << badAddress;
        QTest::newRow("short form") << "10.1"
                                    << "8234" << badAddress;
        QTest::newRow("octet too big") << "10.0.0.256"
                                       << "8234" << badAddress;
        QTest::newRow("five parts") << "1.2.3.4.5"
                                    << "8234" << badAddress;
        QTest::newRow("blank around") << " 10.0.0.1"
                                      << "8234" << badAddress;
        QTest::newRow("port zero") << "10.0.0.1"
                                   << "0" << badPort;
        QTest::newRow("port past 16 bits") << "10.0.0.1"
                                           << "65536" << badPort;
        QTest::newRow("port 99999") << "10.0.0.1"
                                    << "99999" << badPort;
    }
    void udpChoiceIsChecked()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, error);
        QCOMPARE(udpSettingsError(address, port), error);
    }

    void serialChoiceIsChecked()
    {
        QCOMPARE(serialSettingsError(QString(), QStringLiteral("9600")), QStringLiteral("请选择串口!"));
        QCOMPARE(serialSettingsError(QStringLiteral("COM1"), QString()), QStringLiteral("请选择波特率!"));
        QCOMPARE(serialSettingsError(QStringLiteral("COM1"), QStringLiteral("9600")), QString());
    }

    void writesTouchOnlyTheirOwnGroup()
    {
        TempWorkDir dir;
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        writeUdpSettings(settings, QStringLiteral("10.0.0.7"), QStringLiteral("8234"));
        QCOMPARE(settings.value("communicate/udp").toInt(), 1);
        QVERIFY(!settings.contains("serial/port"));

        SerialSettings serial;
        serial.port = QStringLiteral("COM3");
        serial.baudRate = 14400;
        serial.stopBits = QSerialPort::OneAndHalfStop;
        writeSerialSettings(settings, serial);
        QCOMPARE(settings.value("communicate/udp").toInt(), 0);
        QCOMPARE(settings.value("udp/address").toString(), QStringLiteral("10.0.0.7"));
        QCOMPARE(settings.value("udp/port").toString(), QStringLiteral("8234"));

        const SerialSettings back = readSerialSettings(settings);
        QCOMPARE(back.port, QStringLiteral("COM3"));
        QCOMPARE(back.baudRate, 14400);
        QCOMPARE(int(back.stopBits), 3);
    }

    void deviceAddressKeepsTheLowEightBits()
    {
        TempWorkDir dir;
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        QCOMPARE(int(readDeviceAddress(settings)), 255);
        settings.setValue("device/address", 300);
        QCOMPARE(int(readDeviceAddress(settings)), 44);
    }

    // What a channel, a title or a journal line gets is typed once, when read.
    void storedValuesAreTypedWhenRead_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<QString>("described");
        QTest::newRow("nothing stored") << "" << 0 << 8 << 0 << 1 << "serial  9600 8N1";
        QTest::newRow("udp port") << "[communicate]\nudp=1\n[udp]\naddress=10.0.0.7\nport=8234\n"
                                  << 8234 << 8 << 0 << 1 << "udp 10.0.0.7:8234";
        QTest::newRow("port past 16 bits keeps the low ones")
            << "[communicate]\nudp=1\n[udp]\naddress=10.0.0.7\nport=70000\n"
            << 70000 - 65536 << 8 << 0 << 1 << "udp 10.0.0.7:4464";
        QTest::newRow("port that is no number") << "[communicate]\nudp=1\n[udp]\naddress=10.0.0.7\nport=http\n"
                                                << 0 << 8 << 0 << 1 << "udp 10.0.0.7:0";
        QTest::newRow("serial frame") << "[serial]\nport=ttyS0\ndatabits=7\nparity=3\nstopbits=3\n"
                                      << 0 << 7 << 3 << 3 << "serial ttyS0 9600 7O1.5";
        QTest::newRow("unknown frame values give the defaults")
            << "[serial]\nport=ttyS0\ndatabits=9\nparity=1\nstopbits=7\n"
            << 0 << 8 << 0 << 1 << "serial ttyS0 9600 8N1";
    }
    void storedValuesAreTypedWhenRead()
    {
        QFETCH(QString, ini);
        QFETCH(int, port);
        QFETCH(int, dataBits);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(QString, described);
        TempWorkDir dir;
        QVERIFY(dir.writeFile(QStringLiteral("typed.ini"), ini.toUtf8()));
        const QSettings settings(dir.filePath(QStringLiteral("typed.ini")), QSettings::IniFormat);
        const LinkSettings link = readLinkSettings(settings);
        QCOMPARE(int(link.udp.port), port);
        QCOMPARE(int(link.serial.dataBits), dataBits);
        QCOMPARE(int(link.serial.parity), parity);
        QCOMPARE(int(link.serial.stopBits), stopBits);
        QCOMPARE(link.describe(), described);
        // The setup dialog edits the port as it was stored.
        QCOMPARE(readUdpPortText(settings), settings.value("udp/port").toString());
    }

    void linkSettingsRoundTrip_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QString>("described");
        QTest::newRow("udp") << true << "udp 10.0.0.7:8234";
        QTest::newRow("serial") << false << "serial /dev/ttyUSB0 19200 7E1.5";
    }
    void linkSettingsRoundTrip()
    {
        QFETCH(bool, udp);
        QFETCH(QString, described);
        TempWorkDir dir;
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        LinkSettings link;
        link.useUdp = udp;
        link.deviceAddress = 7;
        link.udp = { QStringLiteral("10.0.0.7"), 8234 };
        link.serial.port = QStringLiteral("/dev/ttyUSB0");
        link.serial.baudRate = 19200;
        link.serial.dataBits = QSerialPort::Data7;
        link.serial.parity = QSerialPort::EvenParity;
        link.serial.stopBits = QSerialPort::OneAndHalfStop;
        link.serial.sendRts = true;
        writeLinkSettings(settings, link);
        const LinkSettings back = readLinkSettings(settings);
        QCOMPARE(back.useUdp, udp);
        QCOMPARE(int(back.deviceAddress), 7);
        QCOMPARE(back.describe(), described);
        // Only the chosen way's group is stored.
        QCOMPARE(settings.contains("udp/address"), udp);
        QCOMPARE(settings.contains("serial/port"), !udp);
        if (!udp)
            QCOMPARE(back.serial.sendRts, true);
    }

    void channelOpensFromGivenSettingsWithoutTheStore()
    {
        TempWorkDir dir;
        LinkSettings link;
        link.useUdp = true;
        link.deviceAddress = 3;
        link.udp = { QStringLiteral(" 127.0.0.1 "), 47800 };
        DeviceChannel udp;
        QVERIFY(udp.open(link));
        QCOMPARE(udp.hostAddress(), QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(int(udp.port()), 47800);
        QCOMPARE(int(udp.deviceAddress()), 3);

        link.useUdp = false;
        link.serial.port = dir.filePath("no-such-tty");
        DeviceChannel serial;
        QVERIFY(!serial.open(link));
        QCOMPARE(serial.errorText(), QStringLiteral("打开串口失败: %1").arg(link.serial.port));
        QVERIFY(!QFile::exists(dir.filePath("config.ini")));
    }
};

QTEST_GUILESS_MAIN(TstCommSettings)
#include "tst_commsettings.moc"
