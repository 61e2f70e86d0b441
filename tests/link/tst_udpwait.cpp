#include "link/udpwait.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

// The wait that replaced the 20 ms polls: it must end where the poll loop
// ended (more than the time-out passed) and wake up when a datagram lands.
class TstUdpWait : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<TempWorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void wait_data()
    {
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("sliceMs");
        QTest::addColumn<int>("sendAfterMs"); // -1: nothing is sent, -2: sent before the call
        QTest::addColumn<bool>("bound");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("datagram already there") << 3000 << -1 << -2 << true << 0 << 1000;
        QTest::newRow("datagram lands during the wait") << 3000 << -1 << 150 << true << 140 << 2000;
        QTest::newRow("nothing: the rest of the time-out") << 200 << -1 << -1 << true << 200 << 1500;
        QTest::newRow("slice ends the wait early") << 3000 << 30 << -1 << true << 30 << 1500;
        QTest::newRow("slice longer than the rest") << 100 << 1000 << -1 << true << 100 << 900;
        QTest::newRow("unbound socket sleeps the rest") << 150 << -1 << -1 << false << 150 << 1500;
    }
    void wait()
    {
        QFETCH(int, timeoutMs);
        QFETCH(int, sliceMs);
        QFETCH(int, sendAfterMs);
        QFETCH(bool, bound);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        QUdpSocket socket;
        if (bound)
            QVERIFY(socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 port = socket.localPort();
        const auto send = [port] {
            QUdpSocket peer;
            peer.writeDatagram(QByteArray("x"), QHostAddress::LocalHost, port);
        };
        if (sendAfterMs == -2) {
            send();
            QTRY_VERIFY(socket.hasPendingDatagrams());
        }
        std::unique_ptr<QThread> sender;
        if (sendAfterMs >= 0) {
            sender.reset(QThread::create([&] {
                QThread::msleep(ulong(sendAfterMs));
                send();
            }));
            sender->start();
        }
        QElapsedTimer timer;
        timer.start();
        QVERIFY(sleepUntilReadable(socket, timer, timeoutMs, sliceMs));
        const qint64 waited = timer.elapsed();
        if (sender)
            QVERIFY(sender->wait(5000));
        QVERIFY2(waited >= minMs && waited <= maxMs, qPrintable(QString::number(waited)));
        QCOMPARE(socket.hasPendingDatagrams(), sendAfterMs != -1);
    }

    void endsOnceMoreThanTheTimeoutPassed()
    {
        QUdpSocket socket;
        QVERIFY(socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
        QElapsedTimer timer;
        timer.start();
        // A poll loop looks again while elapsed <= time-out: so does the wait.
        int calls = 0;
        while (sleepUntilReadable(socket, timer, 100, 20))
            ++calls;
        const qint64 waited = timer.elapsed();
        QVERIFY2(waited > 100 && waited < 1500, qPrintable(QString::number(waited)));
        QVERIFY2(calls >= 2 && calls <= 7, qPrintable(QString::number(calls)));
        // Already over: no wait at all.
        QElapsedTimer late;
        late.start();
        QVERIFY(!sleepUntilReadable(socket, timer, 100));
        QVERIFY(late.elapsed() < 50);
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

QTEST_GUILESS_MAIN(TstUdpWait)
#include "tst_udpwait.moc"
