#include "base/settings.h"
#include "link/frame.h"
#include "monitor/monitorthread.h"
#include "sim/debugresponder.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QUdpSocket>
#include <QtTest>

namespace {

struct Error
{
    QString title;
    QString text;
};

// Collects the worker's signals on the test thread (queued, as the dialog gets them).
class Recorder : public QObject
{
public:
    explicit Recorder(MonitorThread &thread)
    {
        connect(&thread, &MonitorThread::signalDataRecv, this, [this](const QByteArray &line) { lines << line; });
        connect(&thread, &MonitorThread::signalShowError, this, [this](const QString &title, const QString &text) {
            errors << Error { title, text };
        });
        connect(&thread, &QThread::finished, this, [this] { ++finished; });
    }
    QList<QByteArray> lines;
    QList<Error> errors;
    int finished = 0;
};

void useMeter(const SimRunner &meter, bool udp)
{
    connectToMeter(meter, udp);
}

SimTransportOptions withPty()
{
    SimTransportOptions options;
    options.pty = true;
    return options;
}

void configureDebug(SimRunner &meter, int intervalMs, int linesPerTick, int parts)
{
    meter.call([=](MeterSim &sim) {
        DebugResponder *debug = sim.responder<DebugResponder>();
        debug->setLines({ QStringLiteral("ADC=1023"), QStringLiteral("流量 12.5") });
        debug->setIntervalMs(intervalMs);
        debug->setLinesPerTick(linesPerTick);
        debug->setParts(parts);
        debug->setPieceDelayMs(15);
    });
}

void sendFromMeter(SimRunner &meter, const QByteArray &bytes)
{
    meter.call([=](MeterSim &sim) { sim.responder<DebugResponder>()->sendUnsolicited(bytes); });
}

QByteArray switchFrame(quint8 address, bool on)
{
    return buildItemWriteFrame(address, 255, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

class TstMonitorThread : public QObject
{
    Q_OBJECT

private slots:
    // Each test reads config.ini from its own directory.
    void cleanup() { singleton<Config>::release(); }
    void debugRunDeliversLinesInOrder_data();
    void debugRunDeliversLinesInOrder();
    void debugOffRunShowsUnsolicitedLinesOnly_data();
    void debugOffRunShowsUnsolicitedLinesOnly();
    void partialLineIsDroppedAtStop();
    void stopWhileIdleAndStartWhileRunning();
    void stopIsNoticedWithinAPass_data();
    void stopIsNoticedWithinAPass();
    void foreignDatagramsAreIgnored();
    void switchFailures_data();
    void switchFailures();
    void closingSwitchFailureIsOnlyReported();
    void silentInstrumentTimesOutOpeningSwitch();
    void answerAmidLineTrafficIsAccepted_data();
    void answerAmidLineTrafficIsAccepted();
    void stopDuringOpeningSwitchReturnsEarly();
    void openFailure_data();
    void openFailure();
};

void TstMonitorThread::debugRunDeliversLinesInOrder_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<int>("parts");
    QTest::newRow("udp, whole lines") << true << 1;
    QTest::newRow("udp, lines cut over datagrams") << true << 3;
    QTest::newRow("pty, whole lines") << false << 1;
    QTest::newRow("pty, lines cut over writes") << false << 3;
}

void TstMonitorThread::debugRunDeliversLinesInOrder()
{
    QFETCH(bool, udp);
    QFETCH(int, parts);
    TempWorkDir dir;
    SimRunner meter(SimProfile::demo(), withPty());
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    useMeter(meter, udp);
    // Three lines per write: several line feeds in one chunk.
    configureDebug(meter, 40, 3, parts);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.setDebug(true);
    thread.start();
    QTRY_VERIFY_WITH_TIMEOUT(recorder.lines.size() >= 9, 10000);
    thread.stop();
    QVERIFY(thread.isFinished());
    QTRY_COMPARE(recorder.finished, 1);
    QVERIFY(recorder.errors.isEmpty());

    const QList<QByteArray> frames = meter.receivedFrames();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.first().toHex(' '), switchFrame(meter.address(), true).toHex(' '));
    QCOMPARE(frames.last().toHex(' '), switchFrame(meter.address(), false).toHex(' '));
    QVERIFY(!meter.state().extra.value(QStringLiteral("debug/on")).toBool());

    // Whole lines only, CR LF kept, numbered without gaps from the first.
    for (int i = 0; i < recorder.lines.size(); ++i) {
        const QByteArray &line = recorder.lines.at(i);
        QVERIFY2(line.endsWith("\r\n"), line.constData());
        QCOMPARE(line.left(6), QByteArray::number(i + 1).rightJustified(5, '0') + ' ');
    }
    QCOMPARE(recorder.lines.at(1), QByteArray("00002 \xc1\xf7\xc1\xbf 12.5\r\n"));
}

void TstMonitorThread::debugOffRunShowsUnsolicitedLinesOnly_data()
{
    QTest::addColumn<bool>("udp");
    QTest::newRow("udp") << true;
    QTest::newRow("pty") << false;
}

void TstMonitorThread::debugOffRunShowsUnsolicitedLinesOnly()
{
    QFETCH(bool, udp);
    TempWorkDir dir;
    SimRunner meter(SimProfile::demo(), withPty());
    QVERIFY(meter.isStarted());
    useMeter(meter, udp);
    configureDebug(meter, 20, 1, 1);
    // Left talking by an earlier session: the opening "0" quiets it.
    meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->setOn(true); });

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.setDebug(false);
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    QCOMPARE(meter.receivedFrames().first().toHex(' '), switchFrame(meter.address(), false).toHex(' '));
    QTRY_VERIFY(!meter.state().extra.value(QStringLiteral("debug/on")).toBool());
    QTest::qWait(150);
    recorder.lines.clear();

    sendFromMeter(meter, "unasked 1\r\nunasked 2\n");
    QTRY_COMPARE(recorder.lines.size(), 2);
    thread.stop();
    QCOMPARE(recorder.lines, (QList<QByteArray> { "unasked 1\r\n", "unasked 2\n" }));
    QVERIFY(recorder.errors.isEmpty());
    // No closing switch after a debug-off run.
    QCOMPARE(meter.receivedFrames().size(), 1);
}

void TstMonitorThread::partialLineIsDroppedAtStop()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    sendFromMeter(meter, "no line feed yet");
    QTest::qWait(300);
    thread.stop();
    QTRY_COMPARE(recorder.finished, 1);
    QVERIFY(recorder.lines.isEmpty());

    // A new run starts with an empty buffer: the old bytes never reappear.
    thread.start();
    QVERIFY(meter.waitForFrames(2, 5000));
    sendFromMeter(meter, "fresh\n");
    QTRY_COMPARE(recorder.lines.size(), 1);
    QCOMPARE(recorder.lines.first(), QByteArray("fresh\n"));
    thread.stop();
}

void TstMonitorThread::stopWhileIdleAndStartWhileRunning()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY2(timer.elapsed() < 50, qPrintable(QString::number(timer.elapsed())));

    thread.start();
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    thread.start();
    QTest::qWait(200);
    thread.stop();
    QCOMPARE(meter.receivedFrames().size(), 1);
    timer.restart();
    thread.stop();
    QVERIFY(timer.elapsed() < 50);
}

void TstMonitorThread::stopIsNoticedWithinAPass_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<bool>("streaming");
    QTest::newRow("udp, quiet") << true << false;
    QTest::newRow("udp, streaming") << true << true;
    QTest::newRow("pty, quiet") << false << false;
    QTest::newRow("pty, streaming without pauses") << false << true;
}

void TstMonitorThread::stopIsNoticedWithinAPass()
{
    QFETCH(bool, udp);
    QFETCH(bool, streaming);
    TempWorkDir dir;
    SimRunner meter(SimProfile::demo(), withPty());
    QVERIFY(meter.isStarted());
    useMeter(meter, udp);
    configureDebug(meter, 10, 1, 1);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    if (streaming) {
        // Gaps far below the 50 ms a serial chunk waits for.
        meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->setOn(true); });
        QTRY_VERIFY(recorder.lines.size() >= 5);
    } else {
        QTest::qWait(250);
    }
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    const qint64 took = timer.elapsed();
    QVERIFY(thread.isFinished());
    // About one 100 ms pass; generous for a busy machine.
    QVERIFY2(took < 700, qPrintable(QString::number(took)));
    if (streaming)
        QVERIFY(recorder.lines.size() >= 5);
}

void TstMonitorThread::foreignDatagramsAreIgnored()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    const quint16 monitorPort = meter.receivedRequests().first().peerPort;
    QTest::qWait(100);

    QUdpSocket sameHostOtherPort;
    QVERIFY(sameHostOtherPort.bind(QHostAddress(QHostAddress::LocalHost), 0));
    QUdpSocket otherHost;
    QVERIFY(otherHost.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    // Same port as the meter but another address.
    QUdpSocket otherHostSamePort;
    QVERIFY(otherHostSamePort.bind(QHostAddress(QStringLiteral("127.0.0.3")), meter.udpPort()));
    for (QUdpSocket *socket : { &sameHostOtherPort, &otherHost, &otherHostSamePort })
        QVERIFY(socket->writeDatagram("foreign\n", QHostAddress::LocalHost, monitorPort) > 0);
    QTest::qWait(50);
    sendFromMeter(meter, "mine\n");
    QTRY_COMPARE(recorder.lines.size(), 1);
    QTest::qWait(150);
    thread.stop();
    QCOMPARE(recorder.lines, (QList<QByteArray> { "mine\n" }));
}

void TstMonitorThread::switchFailures_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("talking");
    QTest::addColumn<QString>("message");
    QTest::newRow("udp silent") << true << "silent" << true << QStringLiteral("接受数据超时");
    QTest::newRow("pty silent") << false << "silent" << true << QStringLiteral("接受数据超时");
    QTest::newRow("pty bad crc") << false << "bad-crc" << false << QStringLiteral("CRC校验错误");
    // A line that never goes quiet ends at the time-out instead.
    QTest::newRow("pty bad crc amid lines") << false << "bad-crc" << true << QStringLiteral("接受数据超时");
    // Over UDP a broken answer waits for more datagrams that never come.
    QTest::newRow("udp bad crc") << true << "bad-crc" << false << QStringLiteral("接受数据超时");
}

void TstMonitorThread::switchFailures()
{
    QFETCH(bool, udp);
    QFETCH(QString, fault);
    QFETCH(bool, talking);
    QFETCH(QString, message);
    TempWorkDir dir;
    SimRunner meter(SimProfile::demo(), withPty());
    QVERIFY(meter.isStarted());
    useMeter(meter, udp);
    configureDebug(meter, 20, 1, 1);
    meter.addFault(fault + QStringLiteral(",match=write,index=255,times=all"));
    if (talking)
        meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->setOn(true); });

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    thread.setSwitchTimeout(600);
    Recorder recorder(thread);
    // A "1" with a spoilt answer still starts the meter talking.
    thread.setDebug(talking);
    thread.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.finished, 1, 5000);
    QCOMPARE(recorder.errors.size(), 1);
    QCOMPARE(recorder.errors.first().title, QStringLiteral("监听调试"));
    QCOMPARE(recorder.errors.first().text, message);
    // Nothing monitored, and no closing switch after a failed opening.
    QVERIFY(recorder.lines.isEmpty());
    QCOMPARE(meter.receivedFrames().size(), 1);
}

void TstMonitorThread::closingSwitchFailureIsOnlyReported()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);
    configureDebug(meter, 20, 1, 1);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    thread.setSwitchTimeout(400);
    Recorder recorder(thread);
    thread.setDebug(true);
    thread.start();
    QTRY_VERIFY(recorder.lines.size() >= 3);
    meter.addFault(QStringLiteral("silent,match=write,index=255"));
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(timer.elapsed() >= 350);
    QTRY_COMPARE(recorder.errors.size(), 1);
    QCOMPARE(recorder.errors.first().title, QStringLiteral("监听调试"));
    QCOMPARE(recorder.errors.first().text, QStringLiteral("接受数据超时"));
    QVERIFY(recorder.lines.size() >= 3);
    QCOMPARE(meter.receivedFrames().size(), 2);
}

void TstMonitorThread::silentInstrumentTimesOutOpeningSwitch()
{
    // The real exchange time-out, once.
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);
    meter.addFault(QStringLiteral("silent,match=write,index=255,times=all"));
    configureDebug(meter, 50, 1, 1);
    meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->setOn(true); });

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    QCOMPARE(thread.switchTimeout(), 10000);
    Recorder recorder(thread);
    thread.setDebug(false);
    QElapsedTimer timer;
    timer.start();
    thread.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.finished, 1, 20000);
    const qint64 took = timer.elapsed();
    QVERIFY2(took >= 9900 && took < 14000, qPrintable(QString::number(took)));
    QCOMPARE(recorder.errors.size(), 1);
    QCOMPARE(recorder.errors.first().title, QStringLiteral("监听调试"));
    QCOMPARE(recorder.errors.first().text, QStringLiteral("接受数据超时"));
    QVERIFY(recorder.lines.isEmpty());
}

void TstMonitorThread::answerAmidLineTrafficIsAccepted_data()
{
    QTest::addColumn<bool>("udp");
    QTest::newRow("udp") << true;
    QTest::newRow("pty") << false;
}

void TstMonitorThread::answerAmidLineTrafficIsAccepted()
{
    // A meter still talking when the switch goes out: line bytes come before
    // and right after its answer.
    QFETCH(bool, udp);
    TempWorkDir dir;
    SimRunner meter(SimProfile::demo(), withPty());
    QVERIFY(meter.isStarted());
    useMeter(meter, udp);
    configureDebug(meter, 3, 2, 2);
    meter.call([](MeterSim &sim) {
        sim.responder<DebugResponder>()->setPieceDelayMs(1);
        sim.responder<DebugResponder>()->setOn(true);
    });
    QTest::qWait(100);

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    thread.setSwitchTimeout(3000);
    Recorder recorder(thread);
    thread.setDebug(true);
    thread.start();
    QTRY_VERIFY(recorder.lines.size() >= 20);
    thread.stop();
    QTRY_COMPARE(recorder.finished, 1);
    for (const Error &error : recorder.errors)
        qWarning() << error.title << error.text;
    QVERIFY(recorder.errors.isEmpty());
    // Every line shown is whole, and numbers run on without gaps.
    int previous = 0;
    for (const QByteArray &line : recorder.lines) {
        QVERIFY2(line.endsWith("\r\n"), line.constData());
        const int number = line.left(5).toInt();
        if (previous)
            QCOMPARE(number, previous + 1);
        previous = number;
    }
}

void TstMonitorThread::stopDuringOpeningSwitchReturnsEarly()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter, true);
    meter.addFault(QStringLiteral("silent,match=write,index=255,times=all"));

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.setDebug(false);
    thread.start();
    QVERIFY(meter.waitForFrames(1, 5000));
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QTRY_COMPARE(recorder.finished, 1);
    QVERIFY(recorder.errors.isEmpty());
}

void TstMonitorThread::openFailure_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    // The target and the system's reason follow the specified text.
    const QString check = QStringLiteral(": 请检查端口名称，以及端口是否被其他程序占用。");
    QTest::newRow("no such port") << "/nonexistent/ttyX"
                                  << "打开串口失败: /nonexistent/ttyX\n/nonexistent/ttyX 9600 8N1 · 地址 255 "
                                     "(No such file or directory)"
            + check;
    QTest::newRow("no port set") << QString() << "串口打开失败\n未选择串口 · 地址 255" + check;
}

void TstMonitorThread::openFailure()
{
    QFETCH(QString, port);
    QFETCH(QString, message);
    TempWorkDir dir;
    storeLinkSettings(LinkSettings::overSerial(port, 255));

    MonitorThread thread;

    thread.setLinkSettings(storedLinkSettings());
    Recorder recorder(thread);
    thread.start();
    QTRY_COMPARE(recorder.finished, 1);
    QCOMPARE(recorder.errors.size(), 1);
    QCOMPARE(recorder.errors.first().title, QStringLiteral("设备监听"));
    QCOMPARE(recorder.errors.first().text, message);
}

QTEST_GUILESS_MAIN(TstMonitorThread)
#include "tst_monitorthread.moc"
