#include "simclient.h"

#include "sim/simrunner.h"
#include "tests/support/tempworkdir.h"

#include <QProcess>
#include <QSerialPort>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The program's end of the simulator's pseudo-terminal, opened like a serial port.
class SlaveEnd
{
public:
    explicit SlaveEnd(const QString &path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios mode {};
            ::tcgetattr(m_fd, &mode);
            ::cfmakeraw(&mode);
            ::tcsetattr(m_fd, TCSANOW, &mode);
        }
    }
    ~SlaveEnd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until `count` bytes or the time-out; `reads` counts the separate reads.
    QByteArray read(int count, int timeoutMs, int *reads = nullptr, bool *hangUp = nullptr)
    {
        QByteArray data;
        QElapsedTimer clock;
        clock.start();
        while (data.size() < count && clock.elapsed() < timeoutMs) {
            pollfd waiter { m_fd, POLLIN, 0 };
            if (::poll(&waiter, 1, int(qMax<qint64>(1, timeoutMs - clock.elapsed()))) <= 0)
                break;
            if (waiter.revents & (POLLHUP | POLLERR)) {
                if (hangUp)
                    *hangUp = true;
                break;
            }
            char buffer[512];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            data.append(buffer, int(n));
            if (reads)
                ++*reads;
        }
        return data;
    }

private:
    int m_fd = -1;
};

SimTransportOptions ptyOnly()
{
    SimTransportOptions options;
    options.udp = false;
    options.pty = true;
    return options;
}

QByteArray demoAnswer(int index)
{
    return simAddressAnswer(1, simEncodeText(SimProfile::demo().items[index].text()));
}

} // namespace

class TstSimPty : public QObject
{
    Q_OBJECT
private slots:
    void answersOverPty();
    void joinsRequestWrittenInPieces();
    void resyncsAfterLineNoise();
    void splitAnswerArrivesInPieces();
    void meterDisappears();
    void commandLineLinksThePtyUntilTheMeterDisappears();
    void unsolicitedLines();
    void udpAndPtyTogether();
    void serialPortOpensTheLineAgainAndAgain();

private:
    TempWorkDir m_dir;
};

void TstSimPty::answersOverPty()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    QVERIFY(meter.ptyPath().startsWith(QLatin1String("/dev/pts/")));
    QCOMPARE(meter.udpPort(), quint16(0));
    SlaveEnd line(meter.ptyPath());
    QVERIFY(line.isOpen());

    QVERIFY(line.write(readRequest(1, 5)));
    QCOMPARE(line.read(demoAnswer(5).size(), 2000), demoAnswer(5));
    QVERIFY(line.write(writeRequest(1, 5, "19200")));
    const QByteArray changed
        = simAddressAnswer(1, simEncodeText(QStringLiteral("波特率(2400/4800/9600/19200/38400):19200")));
    QCOMPARE(line.read(changed.size(), 2000), changed);
    QVERIFY(line.write(clockRequest(1, simFromHex(QStringLiteral("1A 0C 07 0E 1E 05 01")))));
    QCOMPARE(line.read(7, 2000), simFromHex(QStringLiteral("01 03 02 4F 4B CC 43")));
    QCOMPARE(meter.receivedRequests().last().transport, SimRequest::Pty);
}

void TstSimPty::joinsRequestWrittenInPieces()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    SlaveEnd line(meter.ptyPath());
    const QByteArray request = writeRequest(1, 9, "10.0.0.7");
    QVERIFY(line.write(request.left(5)));
    QTest::qWait(80);
    QVERIFY(line.write(request.mid(5)));
    QCOMPARE(line.read(100, 1000), simAddressAnswer(1, simEncodeText("IP地址:10.0.0.7")));
    QCOMPARE(meter.receivedFrames(), QList<QByteArray> { request });
    QVERIFY(meter.receivedGarbage().isEmpty());
}

void TstSimPty::resyncsAfterLineNoise()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    SlaveEnd line(meter.ptyPath());
    // A lone partial frame is dropped after a quiet gap, and the next request works.
    QVERIFY(line.write(simFromHex(QStringLiteral("01 0F 4B 05 00 00 F0"))));
    QTRY_COMPARE_WITH_TIMEOUT(meter.receivedGarbage().size(), 7, 3000);
    QVERIFY(line.write(readRequest(1, 0)));
    QCOMPARE(line.read(demoAnswer(0).size(), 2000), demoAnswer(0));
    // Noise glued to the front of a request.
    QVERIFY(line.write(simFromHex(QStringLiteral("FF 00 7E")) + readRequest(1, 1)));
    QCOMPARE(line.read(demoAnswer(1).size(), 2000), demoAnswer(1));
    QCOMPARE(meter.receivedFrames().size(), 2);
}

void TstSimPty::splitAnswerArrivesInPieces()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    meter.addFault(QStringLiteral("split,parts=2,delay=150"));
    SlaveEnd line(meter.ptyPath());
    QVERIFY(line.write(readRequest(1, 0)));
    int reads = 0;
    const QByteArray first = line.read(demoAnswer(0).size(), 100, &reads);
    QVERIFY2(first.size() < demoAnswer(0).size(), "the second half came too early");
    const QByteArray all = first + line.read(demoAnswer(0).size() - first.size(), 2000, &reads);
    QCOMPARE(all, demoAnswer(0));
    QVERIFY(reads >= 2);
}

void TstSimPty::meterDisappears()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    meter.addFault(QStringLiteral("disappear,match=read,index=1"));
    SlaveEnd line(meter.ptyPath());
    QVERIFY(line.write(readRequest(1, 0)));
    QCOMPARE(line.read(demoAnswer(0).size(), 2000), demoAnswer(0));
    QVERIFY(line.write(readRequest(1, 1)));
    bool hangUp = false;
    QCOMPARE(line.read(1, 2000, nullptr, &hangUp), QByteArray());
    QVERIFY(hangUp);
}

void TstSimPty::commandLineLinksThePtyUntilTheMeterDisappears()
{
    // A stable name for the line that goes with the meter, as with a pulled cable.
    const QString link = m_dir.filePath(QStringLiteral("ttyMeter"));
    QProcess sim;
    sim.start(QStringLiteral(VEXA_BIN_DIR "/vexa-meter-sim"),
        { QStringLiteral("--pty-link"), link, QStringLiteral("--fault"),
            QStringLiteral("disappear,match=read,index=1") });
    QByteArray out;
    while (!out.contains("ready\n") && sim.waitForReadyRead(10000))
        out += sim.readAllStandardOutput();
    QCOMPARE(out.left(9), QByteArray("pty /dev/"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromUtf8(out.split('\n').first().mid(4)));
    SlaveEnd line(link);
    const QByteArray answer = simAddressAnswer(255, simEncodeText(SimProfile::programDemo().items[0].text()));
    QVERIFY(line.write(readRequest(255, 0)));
    QCOMPARE(line.read(answer.size(), 2000), answer);
    QVERIFY(line.write(readRequest(255, 1)));
    QTRY_VERIFY(!QFileInfo(link).isSymLink());
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

void TstSimPty::unsolicitedLines()
{
    SimRunner meter(SimProfile::demo(), ptyOnly());
    SlaveEnd line(meter.ptyPath());
    meter.call([](MeterSim &sim) { sim.sendUnsolicited("T=25.3\r\n"); });
    QCOMPARE(line.read(8, 2000), QByteArray("T=25.3\r\n"));
}

void TstSimPty::udpAndPtyTogether()
{
    SimTransportOptions both;
    both.pty = true;
    SimRunner meter(SimProfile::demo(), both);
    SlaveEnd line(meter.ptyPath());
    UdpClient client;
    QVERIFY(line.write(readRequest(1, 2)));
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(1, 3)), demoAnswer(3));
    QCOMPARE(line.read(demoAnswer(2).size(), 2000), demoAnswer(2)); // nothing of the UDP answer on the line
    QCOMPARE(line.read(1, 100), QByteArray());
}

void TstSimPty::serialPortOpensTheLineAgainAndAgain()
{
    // The program opens a fresh serial port for every operation.
    SimRunner meter(SimProfile::demo(), ptyOnly());
    for (int round = 0; round < 3; ++round) {
        QSerialPort port(meter.ptyPath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        port.setBaudRate(19200);
        port.clear();
        port.write(readRequest(1, quint8(round)));
        QVERIFY(port.waitForBytesWritten(2000));
        QByteArray answer;
        while (answer.size() < demoAnswer(round).size() && port.waitForReadyRead(2000))
            answer += port.readAll();
        QCOMPARE(answer, demoAnswer(round));
        port.close();
    }
}

QTEST_GUILESS_MAIN(TstSimPty)
#include "tst_simpty.moc"
