#include "link/devicechannel.h"

#include "base/settings.h"
#include "link/serialtransport.h"
#include "link/udptransport.h"
#include "tests/support/ptypair.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The port a serial channel opened, as its transport holds it.
const QSerialPort &serialPortOf(const DeviceChannel &channel)
{
    return static_cast<SerialTransport *>(channel.transport())->port();
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const QByteArray kRequest = hex("01034B020000F3EE");
const QByteArray kAnswer = hex("010302");
QByteArray withCrc(QByteArray frame)
{
    const quint16 crc = crc16(frame);
    frame += char(crc & 0xFF);
    frame += char(crc >> 8);
    return frame;
}

// 01 03 02 'O' 'K' with its CRC: a complete answer for device address 1.
QByteArray okAnswer()
{
    return withCrc(hex("0103024F4B"));
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

enum class From { Device, OtherPort, OtherHost };

// One piece of the instrument's answer: sent after a pause, by whom.
struct Piece
{
    int delayMs = 0;
    QByteArray bytes;
    From from = From::Device;
};
using Script = std::vector<Piece>;

} // namespace

Q_DECLARE_METATYPE(Script)

namespace {

int udpSocket(const char *address, quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &local.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

quint16 boundPort(int fd)
{
    sockaddr_in local {};
    socklen_t size = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &size);
    return ntohs(local.sin_port);
}

// A peer's worker thread and the requests it received, in order.
class PeerThread
{
public:
    void wait()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    QList<QByteArray> requests()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_requests;
    }
    bool finished() const { return m_finished; }

protected:
    template<class Work> void run(Work work)
    {
        m_thread = std::thread([this, work] {
            work();
            m_finished = true;
        });
    }
    void record(const QByteArray &request)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_requests.append(request);
    }

    std::thread m_thread;

private:
    std::mutex m_mutex;
    QList<QByteArray> m_requests;
    std::atomic<bool> m_finished { false };
};

// The instrument on UDP loopback: 127.0.0.1 on an ephemeral port, plus two
// strangers (same host other port, other host same port) for foreign datagrams.
class UdpPeer : public PeerThread
{
public:
    UdpPeer()
    {
        m_device = udpSocket("127.0.0.1", 0);
        m_port = m_device >= 0 ? boundPort(m_device) : 0;
        m_otherPort = udpSocket("127.0.0.1", 0);
        m_otherHost = udpSocket("127.0.0.2", m_port);
    }
    ~UdpPeer()
    {
        wait();
        for (int fd : { m_device, m_otherPort, m_otherHost })
            if (fd >= 0)
                ::close(fd);
    }

    bool isValid() const { return m_device >= 0 && m_otherPort >= 0 && m_otherHost >= 0; }
    quint16 port() const { return m_port; }

    // Answers `requests` requests, each with the script.
    void start(Script script, int requests = 1)
    {
        run([this, script, requests] {
            for (int i = 0; i < requests; ++i) {
                pollfd pfd { m_device, POLLIN, 0 };
                if (::poll(&pfd, 1, 5000) <= 0)
                    return;
                char buffer[2048];
                sockaddr_in from {};
                socklen_t fromSize = sizeof from;
                const ssize_t got
                    = ::recvfrom(m_device, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
                if (got < 0)
                    return;
                record(QByteArray(buffer, int(got)));
                for (const Piece &piece : script) {
                    sleepMs(piece.delayMs);
                    const int fd = piece.from == From::Device ? m_device
                        : piece.from == From::OtherPort       ? m_otherPort
                                                              : m_otherHost;
                    ::sendto(fd, piece.bytes.constData(), size_t(piece.bytes.size()), 0,
                        reinterpret_cast<sockaddr *>(&from), fromSize);
                }
            }
        });
    }

private:
    int m_device = -1;
    int m_otherPort = -1;
    int m_otherHost = -1;
    quint16 m_port = 0;
};

// The instrument on the master side of a pseudo-terminal.
class PtyPeer : public PeerThread
{
public:
    ~PtyPeer() { wait(); }
    PtyPair &pty() { return m_pty; }

    // Answers `requests` requests of `requestSize` bytes, each with the script.
    void start(int requestSize, Script script, int requests = 1)
    {
        run([this, requestSize, script, requests] {
            for (int i = 0; i < requests; ++i) {
                const QByteArray request = m_pty.readMaster(requestSize, 5000);
                record(request);
                if (request.size() < requestSize)
                    return;
                for (const Piece &piece : script) {
                    sleepMs(piece.delayMs);
                    m_pty.writeMaster(piece.bytes);
                }
            }
        });
    }

private:
    PtyPair m_pty;
};

class RecordingReceiver : public DDataReceiver
{
public:
    bool isStopped() override { return m_stopped || (m_stopAfterChunks >= 0 && m_chunks >= m_stopAfterChunks); }
    void onReceiveError(const QString error) override { m_errors.append(error); }
    void onReceiveData(const QByteArray data) override
    {
        ++m_chunks;
        m_data += data;
    }

    bool m_stopped = false;
    int m_stopAfterChunks = -1;
    int m_chunks = 0;
    QByteArray m_data;
    QStringList m_errors;
};

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

class TstDeviceChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openSettings_data();
    void openSettings();
    void openSerialFailure_data();
    void openSerialFailure();
    void secondChannelOnOpenPort();
    void serialParameters_data();
    void serialParameters();
    void senderMatching_data();
    void senderMatching();

    void udpTransact_data();
    void udpTransact();
    void udpSendFailure_data();
    void udpSendFailure();
    void serialTransact_data();
    void serialTransact();
    void serialEndlessChatterIsBounded();
    void rtsPulseRefused();

    void serialStream_data();
    void serialStream();
    void udpStream_data();
    void udpStream();
    void udpStreamWithoutAnswer();
    void udpTimeoutBoundary_data();
    void udpTimeoutBoundary();
    void udpStreamQuietWindow_data();
    void udpStreamQuietWindow();

    void staleAnswersAreDropped_data();
    void staleAnswersAreDropped();
    void copiesAreLetGo_data();
    void copiesAreLetGo();
    void stoppableWaits_data();
    void stoppableWaits();

    void listenHandsOnOnlyTheMetersBytes_data();
    void listenHandsOnOnlyTheMetersBytes();
    void transportsTellWhyNothingWentOut();

    void waitKeepsEventsFlowing();
    void exchangeTimes_data();
    void exchangeTimes();

private:
    void configureUdp(quint16 port, int deviceAddress = 1);
    void configureSerial(const QString &port, int deviceAddress = 1);
    // Points the settings at the peer of the row's line and starts it.
    bool startPeer(bool udp, UdpPeer &udpPeer, PtyPeer &ptyPeer, const Script &script, int requests);

    std::unique_ptr<TempWorkDir> m_dir;
};

void TstDeviceChannel::init()
{
    singleton<Config>::release();
    m_dir = std::make_unique<TempWorkDir>();
}

void TstDeviceChannel::cleanup()
{
    singleton<Config>::release();
    m_dir.reset();
}

void TstDeviceChannel::configureUdp(quint16 port, int deviceAddress)
{
    storeLinkSettings(LinkSettings::overUdp(QStringLiteral("127.0.0.1"), port, quint8(deviceAddress)));
}

void TstDeviceChannel::configureSerial(const QString &port, int deviceAddress)
{
    LinkSettings link = LinkSettings::overSerial(port, quint8(deviceAddress));
    link.serial.baudRate = 115200;
    storeLinkSettings(link);
}

bool TstDeviceChannel::startPeer(bool udp, UdpPeer &udpPeer, PtyPeer &ptyPeer, const Script &script, int requests)
{
    if (udp) {
        configureUdp(udpPeer.port());
        udpPeer.start(script, requests);
        return udpPeer.isValid();
    }
    configureSerial(ptyPeer.pty().slavePath());
    ptyPeer.start(kRequest.size(), script, requests);
    return ptyPeer.pty().isValid();
}

void TstDeviceChannel::openSettings_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<bool>("udp");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("rts");
    QTest::addColumn<bool>("dtr");

    QTest::newRow("only a port stored: serial, defaults")
        << QVariantMap { { "serial/port", "/dev/null-vexa" } } << false << 255 << QString() << 65535 << false << false;
    QTest::newRow("udp, address 300 keeps 44") << QVariantMap { { "communicate/udp", 1 }, { "device/address", 300 },
        { "udp/address", "10.1.2.3" }, { "udp/port", 5000 } }
                                               << true << 44 << QStringLiteral("10.1.2.3") << 5000 << false << false;
    QTest::newRow("udp, empty host, port missing")
        << QVariantMap { { "communicate/udp", "2" } } << true << 255 << QString() << 0 << false << false;
    QTest::newRow("udp, port 70000 keeps low 16 bits, flags")
        << QVariantMap { { "communicate/udp", 1 }, { "udp/address", "::1" }, { "udp/port", 70000 },
               { "serial/send_rts", true }, { "serial/send_dtr", "true" }, { "device/address", -1 } }
        << true << 255 << QStringLiteral("::1") << 70000 - 65536 << true << true;
    QTest::newRow("udp, unparsable host")
        << QVariantMap { { "communicate/udp", 1 }, { "udp/address", "meter.local" }, { "udp/port", 1 } } << true << 255
        << QString() << 1 << false << false;
}

void TstDeviceChannel::openSettings()
{
    QFETCH(QVariantMap, values);
    QFETCH(bool, udp);
    QFETCH(int, address);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, rts);
    QFETCH(bool, dtr);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        appSettings()->setValue(it.key(), it.value());

    DeviceChannel channel;
    const bool opened = channel.open(storedLinkSettings());
    QCOMPARE(channel.isUdp(), udp);
    QCOMPARE(int(channel.deviceAddress()), address);
    QCOMPARE(channel.hostAddress().toString(), host);
    QCOMPARE(int(channel.port()), port);
    QCOMPARE(channel.sendRts(), rts);
    QCOMPARE(channel.sendDtr(), dtr);
    if (udp) {
        QVERIFY(opened);
        QCOMPARE(channel.errorText(), QString());
    }
}

void TstDeviceChannel::openSerialFailure_data()
{
    QTest::addColumn<QVariant>("port");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no port stored") << QVariant() << QStringLiteral("串口打开失败");
    QTest::newRow("empty port") << QVariant(QString()) << QStringLiteral("串口打开失败");
    QTest::newRow("missing device") << QVariant(QStringLiteral("/dev/ttyVEXA404"))
                                    << QStringLiteral("打开串口失败: /dev/ttyVEXA404");
}

void TstDeviceChannel::openSerialFailure()
{
    QFETCH(QVariant, port);
    QFETCH(QString, expected);
    if (port.isValid())
        appSettings()->setValue(QStringLiteral("serial/port"), port);
    DeviceChannel channel;
    QVERIFY(!channel.open(storedLinkSettings()));
    QCOMPARE(channel.errorText(), expected);
    QVERIFY(!channel.isUdp());
}

void TstDeviceChannel::secondChannelOnOpenPort()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    configureSerial(pty.slavePath());
    DeviceChannel first;
    QVERIFY2(first.open(storedLinkSettings()), qPrintable(first.errorText()));
    QVERIFY(serialPortOf(first).isOpen());
    DeviceChannel second;
    QVERIFY(!second.open(storedLinkSettings()));
    QCOMPARE(second.errorText(), QStringLiteral("打开串口失败: %1").arg(pty.slavePath()));
}

void TstDeviceChannel::senderMatching_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<int>("senderPort");
    QTest::addColumn<bool>("expected");
    QTest::newRow("same v4") << "127.0.0.1"
                             << "127.0.0.1" << 4000 << true;
    QTest::newRow("v4, other port") << "127.0.0.1"
                                    << "127.0.0.1" << 4001 << false;
    QTest::newRow("v4, other host") << "127.0.0.1"
                                    << "127.0.0.2" << 4000 << false;
    QTest::newRow("v4 host, mapped sender") << "127.0.0.1"
                                            << "::ffff:127.0.0.1" << 4000 << true;
    QTest::newRow("mapped host, v4 sender") << "::ffff:192.168.1.9"
                                            << "192.168.1.9" << 4000 << true;
    QTest::newRow("same v6") << "::1"
                             << "::1" << 4000 << true;
    // Two IPv6 addresses have no IPv4 number; that must not make them equal.
    QTest::newRow("different v6") << "fe80::1"
                                  << "fe80::2" << 4000 << false;
    QTest::newRow("v6 loopback vs v4 loopback") << "::1"
                                                << "127.0.0.1" << 4000 << false;
    QTest::newRow("no host configured") << ""
                                        << "0.0.0.0" << 4000 << false;
}

void TstDeviceChannel::senderMatching()
{
    QFETCH(QString, host);
    QFETCH(QString, sender);
    QFETCH(int, senderPort);
    QFETCH(bool, expected);
    appSettings()->setValue(QStringLiteral("communicate/udp"), 1);
    appSettings()->setValue(QStringLiteral("udp/address"), host);
    appSettings()->setValue(QStringLiteral("udp/port"), 4000);
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    QCOMPARE(static_cast<UdpTransport *>(channel.transport())->isFromDevice(QHostAddress(sender), quint16(senderPort)),
        expected);
}

void TstDeviceChannel::udpTransact_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    const QByteArray ok = okAnswer();
    QTest::newRow("one datagram") << Script { { 0, ok } } << int(LinkOk) << ok << 0 << 250;
    QTest::newRow("three datagrams") << Script { { 0, ok.left(2) }, { 30, ok.mid(2, 3) }, { 30, ok.mid(5) } }
                                     << int(LinkOk) << ok << 0 << 400;
    QTest::newRow("stranger on another port first")
        << Script { { 0, ok, From::OtherPort }, { 300, ok } } << int(LinkReceiveTimeout) << QByteArray() << 0 << 250;
    QTest::newRow("stranger on another host first")
        << Script { { 0, ok, From::OtherHost }, { 300, ok } } << int(LinkReceiveTimeout) << QByteArray() << 0 << 250;
    QTest::newRow("stranger between pieces")
        << Script { { 0, ok.left(3) }, { 150, ok.mid(3), From::OtherPort }, { 150, ok.mid(3) } }
        << int(LinkReceiveTimeout) << ok.left(3) << 100 << 450;
    QTest::newRow("no answer") << Script {} << int(LinkReceiveTimeout) << QByteArray() << 280 << 1500;
    QTest::newRow("half an answer") << Script { { 0, ok.left(4) } } << int(LinkReceiveTimeout) << ok.left(4) << 280
                                    << 1500;
    QTest::newRow("bad crc waits for more")
        << Script { { 0, hex("0103024F4B0000") } } << int(LinkReceiveTimeout) << hex("0103024F4B0000") << 280 << 1500;
}

void TstDeviceChannel::udpTransact()
{
    QFETCH(Script, script);
    QFETCH(int, result);
    QFETCH(QByteArray, response);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    UdpPeer peer;
    QVERIFY(peer.isValid());
    configureUdp(peer.port());
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    peer.start(script);

    QByteArray received("stale");
    QElapsedTimer timer;
    timer.start();
    const int code = channel.transact(kRequest, received, false, 300);
    const qint64 elapsed = timer.elapsed();
    peer.wait();

    QCOMPARE(code, result);
    QCOMPARE(received.toHex(), response.toHex());
    QCOMPARE(peer.requests(), QList<QByteArray> { kRequest });
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::udpSendFailure_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("no host") << QString() << 4000;
    QTest::newRow("port 0") << QStringLiteral("127.0.0.1") << 0;
}

void TstDeviceChannel::udpSendFailure()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    appSettings()->setValue(QStringLiteral("communicate/udp"), 1);
    appSettings()->setValue(QStringLiteral("udp/address"), host);
    appSettings()->setValue(QStringLiteral("udp/port"), port);
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    QByteArray response("stale");
    QCOMPARE(channel.transact(kRequest, response, false, 300), int(LinkSendError));
    QCOMPARE(response, QByteArray());
    RecordingReceiver receiver;
    channel.transactStream(kRequest, &receiver);
    QCOMPARE(receiver.m_errors, QStringList { QStringLiteral("发送命令超时") });
}

void TstDeviceChannel::serialParameters_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("defaults") << QVariantMap {} << 9600 << int(QSerialPort::Data8) << int(QSerialPort::NoParity)
                              << int(QSerialPort::OneStop);
    // A pseudo-terminal forces 8 data bits without parity, so only the baud
    // rate and the stop bits can show here that the stored values are applied.
    QTest::newRow("8N2 at 19200") << QVariantMap { { "serial/baudrate", 19200 }, { "serial/databits", 8 },
        { "serial/parity", 0 }, { "serial/stopbits", 2 } }
                                  << 19200 << int(QSerialPort::Data8) << int(QSerialPort::NoParity)
                                  << int(QSerialPort::TwoStop);
    QTest::newRow("unknown values keep 8N1")
        << QVariantMap { { "serial/databits", 9 }, { "serial/parity", 1 }, { "serial/stopbits", 7 } } << 9600
        << int(QSerialPort::Data8) << int(QSerialPort::NoParity) << int(QSerialPort::OneStop);
}

void TstDeviceChannel::serialParameters()
{
    QFETCH(QVariantMap, values);
    QFETCH(int, baudRate);
    QFETCH(int, dataBits);
    QFETCH(int, parity);
    QFETCH(int, stopBits);
    PtyPair pty;
    QVERIFY(pty.isValid());
    appSettings()->setValue(QStringLiteral("serial/port"), pty.slavePath());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        appSettings()->setValue(it.key(), it.value());
    DeviceChannel channel;
    QVERIFY2(channel.open(storedLinkSettings()), qPrintable(channel.errorText()));
    const QSerialPort &port = serialPortOf(channel);
    QCOMPARE(port.baudRate(QSerialPort::Input), baudRate);
    QCOMPARE(port.baudRate(QSerialPort::Output), baudRate);
    QCOMPARE(int(port.dataBits()), dataBits);
    QCOMPARE(int(port.parity()), parity);
    QCOMPARE(int(port.stopBits()), stopBits);
    QCOMPARE(port.flowControl(), QSerialPort::NoFlowControl);
}

void TstDeviceChannel::serialTransact_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    const QByteArray ok = okAnswer();
    const QByteArray bad = hex("0103024F4B0000");
    QTest::newRow("one write") << Script { { 0, ok } } << int(LinkOk) << ok << QString() << 0 << 300;
    QTest::newRow("three writes") << Script { { 0, ok.left(1) }, { 50, ok.mid(1, 3) }, { 50, ok.mid(4) } }
                                  << int(LinkOk) << ok << QString() << 80 << 450;
    QTest::newRow("bad crc, then quiet") << Script { { 0, bad } } << int(LinkOk) << bad << QStringLiteral("CRC校验错误")
                                         << 450 << 1500;
    QTest::newRow("half an answer, then quiet")
        << Script { { 0, ok.left(4) } } << int(LinkOk) << ok.left(4) << QStringLiteral("CRC校验错误") << 450 << 1500;
    QTest::newRow("no answer") << Script {} << int(LinkReceiveTimeout) << QByteArray() << QStringLiteral("接受数据超时")
                               << 280 << 1500;
}

void TstDeviceChannel::serialTransact()
{
    QFETCH(Script, script);
    QFETCH(int, result);
    QFETCH(QByteArray, response);
    QFETCH(QString, errorText);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    PtyPeer peer;
    QVERIFY(peer.pty().isValid());
    configureSerial(peer.pty().slavePath());
    DeviceChannel channel;
    QVERIFY2(channel.open(storedLinkSettings()), qPrintable(channel.errorText()));
    QCOMPARE(serialPortOf(channel).baudRate(), 115200);
    peer.start(kRequest.size(), script);

    QByteArray received("stale");
    QElapsedTimer timer;
    timer.start();
    const int code = channel.transact(kRequest, received, false, 300);
    const qint64 elapsed = timer.elapsed();
    peer.wait();

    QCOMPARE(code, result);
    QCOMPARE(received.toHex(), response.toHex());
    QCOMPARE(linkErrorText(LinkResult(code), received), errorText);
    QCOMPARE(peer.requests(), QList<QByteArray> { kRequest });
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::serialEndlessChatterIsBounded()
{
    // Noise every 50 ms for 1.5 s: the line never goes quiet for 500 ms.
    PtyPeer peer;
    QVERIFY(peer.pty().isValid());
    configureSerial(peer.pty().slavePath());
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    peer.start(kRequest.size(), Script(30, Piece { 50, hex("AA") }));

    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(channel.transact(kRequest, received, false, 300), int(LinkOk));
    QVERIFY2(timer.elapsed() < 1200, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!received.isEmpty());
    QCOMPARE(linkErrorText(LinkOk, received), QStringLiteral("CRC校验错误"));
    peer.wait();
}

void TstDeviceChannel::rtsPulseRefused()
{
    // A pseudo-terminal has no modem lines: the RTS call fails.
    PtyPair pty;
    QVERIFY(pty.isValid());
    configureSerial(pty.slavePath());
    appSettings()->setValue(QStringLiteral("serial/send_rts"), true);
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    QVERIFY(channel.sendRts());

    QByteArray response("stale");
    QCOMPARE(channel.transact(kRequest, response, false, 300), int(LinkSendError));
    QCOMPARE(response, QByteArray());
    RecordingReceiver receiver;
    channel.transactStream(kRequest, &receiver);
    QCOMPARE(receiver.m_errors, QStringList { QStringLiteral("发送命令失败") });
    QCOMPARE(pty.readMaster(0, 50), QByteArray());
}

void TstDeviceChannel::serialStream_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("stopAfterChunks");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("maxMs");

    const Script lines { { 0, "line 1\r\n" }, { 100, "line 2\r\n" }, { 100, "line 3\r\n" } };
    QTest::newRow("three pieces, then quiet")
        << lines << false << -1 << QByteArray("line 1\r\nline 2\r\nline 3\r\n") << 1500;
    QTest::newRow("stopped before the first chunk") << lines << true << -1 << QByteArray() << 300;
    QTest::newRow("stopped after one chunk") << Script(20, Piece { 50, "x" }) << false << 1 << QByteArray("x") << 400;
}

void TstDeviceChannel::serialStream()
{
    QFETCH(Script, script);
    QFETCH(bool, stopped);
    QFETCH(int, stopAfterChunks);
    QFETCH(QByteArray, data);
    QFETCH(int, maxMs);

    PtyPeer peer;
    QVERIFY(peer.pty().isValid());
    configureSerial(peer.pty().slavePath());
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    peer.start(kRequest.size(), script);

    RecordingReceiver receiver;
    receiver.m_stopped = stopped;
    receiver.m_stopAfterChunks = stopAfterChunks;
    QElapsedTimer timer;
    timer.start();
    channel.transactStream(kRequest, &receiver);
    const qint64 elapsed = timer.elapsed();
    peer.wait();

    QCOMPARE(receiver.m_errors, QStringList());
    QCOMPARE(receiver.m_data, data);
    QCOMPARE(peer.requests(), QList<QByteArray> { kRequest });
    QVERIFY2(elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::udpStream_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    QTest::newRow("pieces, strangers dropped, then quiet")
        << Script { { 0, "a1\n", From::OtherHost }, { 50, "d1\n" }, { 100, "a2\n", From::OtherPort }, { 100, "d2\n" } }
        << false << QByteArray("d1\nd2\n") << 1150 << 2500;
    QTest::newRow("stopped before the first chunk")
        << Script { { 0, "d1\n" }, { 100, "d2\n" } } << true << QByteArray() << 0 << 300;
}

void TstDeviceChannel::udpStream()
{
    QFETCH(Script, script);
    QFETCH(bool, stopped);
    QFETCH(QByteArray, data);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    UdpPeer peer;
    QVERIFY(peer.isValid());
    configureUdp(peer.port());
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    peer.start(script);

    RecordingReceiver receiver;
    receiver.m_stopped = stopped;
    QElapsedTimer timer;
    timer.start();
    channel.transactStream(kRequest, &receiver);
    const qint64 elapsed = timer.elapsed();
    peer.wait();

    QCOMPARE(receiver.m_errors, QStringList());
    QCOMPARE(receiver.m_data, data);
    QCOMPARE(peer.requests(), QList<QByteArray> { kRequest });
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::udpStreamWithoutAnswer()
{
    // The one full 10 s wait of the suite: a stranger's datagram must not pass
    // for the instrument's answer, and silence must be reported.
    UdpPeer peer;
    QVERIFY(peer.isValid());
    configureUdp(peer.port());
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    peer.start(Script { { 0, "noise", From::OtherPort } });

    RecordingReceiver receiver;
    QElapsedTimer timer;
    timer.start();
    channel.transactStream(kRequest, &receiver);
    QCOMPARE(receiver.m_errors, QStringList { QStringLiteral("接受数据超时") });
    QCOMPARE(receiver.m_chunks, 0);
    QVERIFY(timer.elapsed() >= 9900);
}

void TstDeviceChannel::udpTimeoutBoundary_data()
{
    // Time-out 300 ms per pass. Answers well inside it are taken as soon as
    // they land; answers after it are not waited for.
    QTest::addColumn<Script>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    const QByteArray ok = okAnswer();
    QTest::newRow("answer before the time-out") << Script { { 200, ok } } << int(LinkOk) << ok << 190 << 280;
    QTest::newRow("answer after the time-out")
        << Script { { 450, ok } } << int(LinkReceiveTimeout) << QByteArray() << 295 << 440;
    QTest::newRow("second piece inside its fresh time-out")
        << Script { { 0, ok.left(3) }, { 250, ok.mid(3) } } << int(LinkOk) << ok << 240 << 330;
    QTest::newRow("second piece after its time-out")
        << Script { { 0, ok.left(3) }, { 450, ok.mid(3) } } << int(LinkReceiveTimeout) << ok.left(3) << 295 << 440;
    QTest::newRow("stranger after 100 ms ends at once")
        << Script { { 100, ok, From::OtherHost }, { 50, ok } } << int(LinkReceiveTimeout) << QByteArray() << 95 << 250;
}

void TstDeviceChannel::udpTimeoutBoundary()
{
    udpTransact();
}

void TstDeviceChannel::udpStreamQuietWindow_data()
{
    // The stream ends after 1000 ms without the instrument's data.
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    Script burst;
    QByteArray burstData;
    for (int i = 0; i < 40; ++i) {
        const QByteArray piece = QByteArray::number(i) + (i % 3 == 0 ? "\r\n" : ",");
        burst.push_back(Piece { i % 4 == 0 ? 1 : 0, piece });
        burstData += piece;
    }
    QTest::newRow("burst of pieces joined in order") << burst << false << burstData << 990 << 1400;
    QTest::newRow("piece just inside the quiet window")
        << Script { { 0, "d1\n" }, { 850, "d2\n" } } << false << QByteArray("d1\nd2\n") << 1840 << 2400;
    QTest::newRow("piece just after the quiet window")
        << Script { { 0, "d1\n" }, { 1200, "d2\n" } } << false << QByteArray("d1\n") << 990 << 1400;
}

void TstDeviceChannel::udpStreamQuietWindow()
{
    udpStream();
}

void TstDeviceChannel::staleAnswersAreDropped_data()
{
    // Two requests, each answered by the script: the right answer, then
    // another complete one that belongs to nobody.
    QTest::addColumn<bool>("udp");
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("settle");
    QTest::addColumn<int>("minSettleMs");
    QTest::addColumn<int>("maxSettleMs");
    const QByteArray ok = okAnswer();
    const QByteArray stale = withCrc(hex("0103024E4F"));
    for (const bool udp : { true, false }) {
        const char *line = udp ? "udp" : "pty";
        QTest::addRow("%s, repeated answer pending", line)
            << udp << Script { { 0, ok }, { 30, stale } } << false << 0 << 0;
        QTest::addRow("%s, late answer inside the window", line)
            << udp << Script { { 0, ok }, { 300, stale } } << true << 280 << 700;
        QTest::addRow("%s, nothing late: the whole window", line) << udp << Script { { 0, ok } } << true << 990 << 1400;
    }
}

void TstDeviceChannel::staleAnswersAreDropped()
{
    QFETCH(bool, udp);
    QFETCH(Script, script);
    QFETCH(bool, settle);
    QFETCH(int, minSettleMs);
    QFETCH(int, maxSettleMs);
    UdpPeer udpPeer;
    PtyPeer ptyPeer;
    QVERIFY(startPeer(udp, udpPeer, ptyPeer, script, 2));
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));

    QByteArray response;
    QCOMPARE(channel.transact(kRequest, response, false, 1000), int(LinkOk));
    QCOMPARE(response.toHex(), okAnswer().toHex());
    if (settle) {
        QElapsedTimer timer;
        timer.start();
        channel.discardLateAnswer(false);
        QVERIFY2(timer.elapsed() >= minSettleMs && timer.elapsed() <= maxSettleMs,
            qPrintable(QString::number(timer.elapsed())));
    } else {
        sleepMs(150);
    }
    QCOMPARE(channel.transact(kRequest, response, false, 1000), int(LinkOk));
    QCOMPARE(response.toHex(), okAnswer().toHex());
}

void TstDeviceChannel::copiesAreLetGo_data()
{
    // A first exchange takes `ok`; the second request is answered by the
    // script and judged: copies of what was taken and `other` are let go.
    QTest::addColumn<bool>("udp");
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("judged");
    QTest::addColumn<bool>("forget");
    QTest::addColumn<int>("copyWaitMs");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("others");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    const QByteArray ok = okAnswer();
    const QByteArray own = withCrc(hex("0103024E4F"));
    const QByteArray other = withCrc(hex("0103024142"));
    for (const bool udp : { true, false }) {
        const char *line = udp ? "udp" : "pty";
        QTest::addRow("%s, copy let go, own answer follows", line)
            << udp << Script { { 0, ok }, { 150, own } } << true << false << -1 << int(LinkOk) << own << 1 << 0 << 140
            << 600;
        QTest::addRow("%s, only a copy: the copy wait ends it", line)
            << udp << Script { { 0, ok } } << true << false << 200 << int(LinkReceiveTimeout) << ok << 1 << 0 << 190
            << 700;
        QTest::addRow("%s, only a copy: the whole time-out", line)
            << udp << Script { { 0, ok } } << true << false << -1 << int(LinkReceiveTimeout) << ok << 1 << 0 << 990
            << 1600;
        QTest::addRow("%s, copy and own answer in one piece", line)
            << udp << Script { { 0, ok + own } } << true << false << -1 << int(LinkOk) << own << 1 << 0 << 0 << 400;
        QTest::addRow("%s, another request's answer let go", line)
            << udp << Script { { 0, other }, { 150, own } } << true << false << -1 << int(LinkOk) << own << 0 << 1
            << 140 << 600;
        QTest::addRow("%s, taken and told as a copy", line)
            << udp << Script { { 0, ok } } << false << false << -1 << int(LinkOk) << ok << 0 << 0 << 0 << 400;
        QTest::addRow("%s, forgotten answers are no copies", line)
            << udp << Script { { 0, ok } } << true << true << -1 << int(LinkOk) << ok << 0 << 0 << 0 << 400;
    }
}

void TstDeviceChannel::copiesAreLetGo()
{
    QFETCH(bool, udp);
    QFETCH(Script, script);
    QFETCH(bool, judged);
    QFETCH(bool, forget);
    QFETCH(int, copyWaitMs);
    QFETCH(int, result);
    QFETCH(QByteArray, answer);
    QFETCH(int, copies);
    QFETCH(int, others);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    const QByteArray other = withCrc(hex("0103024142"));
    UdpPeer udpPeer;
    PtyPeer ptyPeer;
    QVERIFY(startPeer(udp, udpPeer, ptyPeer, Script { { 0, okAnswer() } }, 1));
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    QByteArray response;
    QCOMPARE(channel.transact(kRequest, response, false, 1000), int(LinkOk));
    QVERIFY(channel.isRemembered(okAnswer()));
    udpPeer.wait();
    ptyPeer.wait();
    if (forget)
        channel.forgetAnswers();
    if (udp)
        udpPeer.start(script);
    else
        ptyPeer.start(kRequest.size(), script);

    const DeviceChannel::AnswerJudge judge = [&other](const QByteArray &bytes, bool remembered) {
        if (bytes == other)
            return DeviceChannel::Verdict::LetGoOther;
        return remembered ? DeviceChannel::Verdict::LetGoCopy : DeviceChannel::Verdict::Take;
    };
    QElapsedTimer timer;
    timer.start();
    const DeviceChannel::Answer got
        = channel.exchange(kRequest, false, 1000, judged ? judge : DeviceChannel::AnswerJudge(), copyWaitMs);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(int(got.result), result);
    QCOMPARE(got.bytes.toHex(), answer.toHex());
    QCOMPARE(got.taken, result == LinkOk);
    QCOMPARE(got.remembered, result == LinkOk && answer == okAnswer() && !forget);
    QCOMPARE(got.copiesLetGo, copies);
    QCOMPARE(got.othersLetGo, others);
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::stoppableWaits_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<bool>("amidTraffic");
    QTest::addColumn<Script>("script");
    QTest::addColumn<int>("stopAfterMs");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    // About 1000 lines of 64 bytes a second, as a meter's debug output can.
    const Piece line { 1, QByteArray(62, 'x') + "\r\n" };
    const Script flood(1500, line);
    Script answerInFlood(300, line);
    answerInFlood.push_back(Piece { 1, okAnswer() });
    answerInFlood.insert(answerInFlood.end(), 300, line);
    // Upper bounds far below the time-outs, with room for a loaded machine.
    for (const bool udp : { true, false }) {
        const char *name = udp ? "udp" : "pty";
        QTest::addRow("%s, silence, stopped", name)
            << udp << false << Script {} << 200 << 3000 << int(LinkStopped) << 190 << 1000;
        QTest::addRow("%s, flood, time-out kept", name)
            << udp << true << flood << -1 << 800 << int(LinkReceiveTimeout) << 790 << 1300;
        QTest::addRow("%s, flood, stopped", name)
            << udp << true << flood << 300 << 5000 << int(LinkStopped) << 290 << 1200;
        QTest::addRow("%s, answer amid the flood", name)
            << udp << true << answerInFlood << -1 << 5000 << int(LinkOk) << 250 << 1500;
    }
}

void TstDeviceChannel::stoppableWaits()
{
    QFETCH(bool, udp);
    QFETCH(bool, amidTraffic);
    QFETCH(Script, script);
    QFETCH(int, stopAfterMs);
    QFETCH(int, timeoutMs);
    QFETCH(int, result);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    UdpPeer udpPeer;
    PtyPeer ptyPeer;
    QVERIFY(startPeer(udp, udpPeer, ptyPeer, script, 1));
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));

    std::atomic<bool> stop { false };
    std::thread stopper([&stop, stopAfterMs] {
        if (stopAfterMs >= 0) {
            sleepMs(stopAfterMs);
            stop = true;
        }
    });
    QElapsedTimer timer;
    timer.start();
    QByteArray received;
    int code = -7;
    if (amidTraffic) {
        const QByteArray ok = okAnswer();
        const DeviceChannel::TrafficExchange exchange = channel.transactAmidTraffic(
            kRequest, timeoutMs,
            [&ok](const QByteArray &buffer, int *length) {
                *length = ok.size();
                return buffer.indexOf(ok);
            },
            &stop);
        code = exchange.result;
        received = exchange.response;
    } else {
        channel.setStopFlag(&stop);
        code = channel.transact(kRequest, received, false, timeoutMs);
    }
    const qint64 elapsed = timer.elapsed();
    stopper.join();
    // A pseudo-terminal nobody reads fills up: take what the peer still says.
    while (!udp && !ptyPeer.finished()) {
        bool foreign = false;
        channel.transport()->waitReadable(20, nullptr);
        channel.transport()->readPiece(&foreign);
    }

    QCOMPARE(code, result);
    if (result == LinkOk)
        QCOMPARE(received.toHex(), okAnswer().toHex());
    QVERIFY2(received.size() <= 2 * DeviceChannel::kMaxCollectedBytes, qPrintable(QString::number(received.size())));
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TstDeviceChannel::listenHandsOnOnlyTheMetersBytes_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<Script>("script");
    // A pause longer than a pass's gap between the two lines.
    QTest::newRow("udp, a stranger between") << true
                                             << Script { { 0, "AB\n" }, { 10, "stranger\n", From::OtherHost },
                                                    { 10, "xx\n", From::OtherPort }, { 120, "CD\n" } };
    QTest::newRow("serial") << false << Script { { 0, "AB\n" }, { 120, "CD\n" } };
}

void TstDeviceChannel::listenHandsOnOnlyTheMetersBytes()
{
    QFETCH(bool, udp);
    QFETCH(Script, script);
    UdpPeer udpPeer;
    PtyPeer ptyPeer;
    QVERIFY(startPeer(udp, udpPeer, ptyPeer, script, 1));
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));
    // Something must go out first: the peer talks once asked, and a UDP
    // socket hears nothing before it sent.
    QCOMPARE(channel.transport()->send(kRequest, 1000), LinkTransport::Sent::Ok);
    std::atomic<bool> stop { false };
    QByteArray heard;
    QElapsedTimer timer;
    timer.start();
    while (heard.size() < 6 && timer.elapsed() < 3000)
        channel.listen(&stop, [&heard](const QByteArray &bytes) { heard += bytes; });
    QCOMPARE(heard, QByteArray("AB\nCD\n"));

    // A set stop ends an idle pass at once, without the pass's wait.
    stop = true;
    timer.restart();
    channel.listen(&stop, [&heard](const QByteArray &bytes) { heard += bytes; });
    QVERIFY2(timer.elapsed() < 50, qPrintable(QString::number(timer.elapsed())));
}

void TstDeviceChannel::transportsTellWhyNothingWentOut()
{
    // A port that never opened refuses; a datagram without a host is told as
    // one that did not go out in time, as the stream has always said.
    SerialTransport serial;
    QVERIFY(!serial.open(SerialSettings()));
    QCOMPARE(serial.send(kRequest, 100), LinkTransport::Sent::Refused);
    UdpTransport nowhere(QHostAddress(), 4000);
    QCOMPARE(nowhere.send(kRequest, 100), LinkTransport::Sent::TimedOut);
    QVERIFY(!nowhere.waitReadable(30, nullptr));
    QCOMPARE(nowhere.answerGapMs(), -1);
    QCOMPARE(serial.answerGapMs(), SerialTransport::kQuietMs);
}

void TstDeviceChannel::waitKeepsEventsFlowing()
{
    bool fired = false;
    QTimer::singleShot(10, this, [&fired] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    waitWithEventLoop(100);
    QVERIFY(fired);
    QVERIFY2(timer.elapsed() >= 99, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(timer.elapsed() < 1000);
}

void TstDeviceChannel::exchangeTimes_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<int>("answerDelayMs");
    QTest::newRow("UDP loopback, instant answer") << true << 0;
    QTest::newRow("UDP loopback, answer after 1 ms") << true << 1;
    QTest::newRow("pseudo-terminal, instant answer") << false << 0;
    QTest::newRow("pseudo-terminal, answer after 1 ms") << false << 1;
}

void TstDeviceChannel::exchangeTimes()
{
    QFETCH(bool, udp);
    QFETCH(int, answerDelayMs);
    constexpr int kRounds = 50;
    const QByteArray ok = okAnswer();
    const Script script { { answerDelayMs, ok } };

    UdpPeer udpPeer;
    PtyPeer ptyPeer;
    if (udp) {
        QVERIFY(udpPeer.isValid());
        configureUdp(udpPeer.port());
        udpPeer.start(script, kRounds);
    } else {
        QVERIFY(ptyPeer.pty().isValid());
        configureSerial(ptyPeer.pty().slavePath());
        ptyPeer.start(kRequest.size(), script, kRounds);
    }
    DeviceChannel channel;
    QVERIFY(channel.open(storedLinkSettings()));

    std::vector<qint64> times;
    for (int i = 0; i < kRounds; ++i) {
        QByteArray response;
        QElapsedTimer timer;
        timer.start();
        const int code = channel.transact(kRequest, response, false, 1000);
        times.push_back(timer.nsecsElapsed() / 1000);
        QCOMPARE(code, int(LinkOk));
        QCOMPARE(response, ok);
    }
    const qint64 middle = median(times);
    qInfo("median of %d exchanges: %lld us (min %lld, max %lld)", kRounds, middle,
        *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
    QVERIFY(middle < 200000);
    // Waiting on the socket, a loopback exchange is bounded by the peer, not
    // by a poll interval.
    if (udp && answerDelayMs == 0)
        QVERIFY2(middle < 5000, qPrintable(QString::number(middle)));
}

QTEST_GUILESS_MAIN(TstDeviceChannel)
#include "tst_devicechannel.moc"
