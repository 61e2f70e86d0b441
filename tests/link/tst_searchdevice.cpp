#include "link/dsearchdevicethread.h"
#include "link/searchdevicedialog.h"
#include "sim/searchresponder.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/privatenetwork.h"
#include "tests/support/tempworkdir.h"
#include "tests/support/childwidget.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QListWidget>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QUdpSocket>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

// Searches here go to loopback targets through the route override; the
// broadcast itself is exercised in its own network namespace (tst_searchnetns).
namespace {

const QHostAddress kLocal1(QStringLiteral("127.0.0.1"));
const QHostAddress kLocal2(QStringLiteral("127.0.0.2"));

SimProfile searchProfile(const QString &reply, const QHostAddress &bindAddress, quint16 port, int repeat = 1)
{
    SimProfile profile = SimProfile::demo();
    profile.raw.insert("search",
        QJsonObject { { "listen", true }, { "address", bindAddress.toString() }, { "port", int(port) },
            { "reply", reply }, { "repeat", repeat } });
    return profile;
}

quint16 searchPortOf(const SimRunner &meter)
{
    quint16 port = 0;
    meter.call([&](MeterSim &sim) { port = sim.responder<SearchResponder>()->searchPort(); });
    return port;
}

// The meters' own words, without the address each line ends with.
QStringList lines(SearchDeviceDialog &dialog)
{
    static const QRegularExpression kSender(QStringLiteral("  \\(127\\.0\\.0\\.[12]:\\d+\\)$"));
    QStringList texts;
    auto *list = child<QListWidget>(dialog, "listWidget");
    for (int i = 0; i < list->count(); ++i) {
        QString text = list->item(i)->text();
        texts << (text.contains(kSender) ? text.remove(kSender) : QStringLiteral("(no address) ") + text);
    }
    return texts;
}

// Runs one search in the dialog and waits until it is idle again.
bool search(SearchDeviceDialog &dialog)
{
    auto *button = child<QPushButton>(dialog, "bntSearch");
    button->click();
    return QTest::qWaitFor([&] { return !dialog.isSearching() && button->isEnabled(); }, 10000);
}

// A host that answers every 50 ms for as long as it is asked.
struct ChattyHost
{
    ChattyHost()
    {
        socket.bind(kLocal1, 0);
        QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [this] {
            asker = socket.receiveDatagram();
            timer.start(50);
        });
        QObject::connect(&timer, &QTimer::timeout, &socket,
            [this] { socket.writeDatagram("VX-200", asker.senderAddress(), quint16(asker.senderPort())); });
    }
    QUdpSocket socket;
    QTimer timer;
    QNetworkDatagram asker;
};

} // namespace

class TstSearchDevice : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<TempWorkDir>();
        // No search here may leave the machine: unless a test points it at
        // loopback, it goes nowhere.
        DSearchDeviceThread::setRouteOverride({ {}, DSearchDeviceThread::kSearchPort, 300 });
    }
    void cleanup()
    {
        DSearchDeviceThread::clearRouteOverride();
        m_dir.reset();
    }

    void workerReportsEveryReplyBetweenDisableAndEnable()
    {
        SimRunner first(searchProfile(QStringLiteral("VX-200 一号"), kLocal1, 0));
        QVERIFY(first.isStarted());
        const quint16 port = searchPortOf(first);
        SimRunner second(searchProfile(QStringLiteral("VX-300 二号"), kLocal2, port));
        QVERIFY(second.isStarted());
        QCOMPARE(searchPortOf(second), port);
        QUdpSocket silent;
        QVERIFY(silent.bind(QHostAddress(QStringLiteral("127.0.0.3")), port));
        DSearchDeviceThread::setRouteOverride(
            { { kLocal1, QHostAddress(QStringLiteral("127.0.0.3")), kLocal2 }, port, 300 });

        DSearchDeviceThread worker(nullptr);
        QStringList events;
        QList<quint16> ports;
        connect(&worker, &DSearchDeviceThread::signalSetEnableButtons, this,
            [&](bool enable) { events << (enable ? "enable" : "disable"); });
        connect(&worker, &DSearchDeviceThread::signalInsertDevice, this,
            [&](const QString &content, const QHostAddress &address, quint16 hostPort) {
                events << content;
                ports << hostPort;
                QVERIFY(address.isEqual(kLocal1, QHostAddress::TolerantConversion));
            });
        worker.startSearch();
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 4, 10000);
        QCOMPARE(events, (QStringList { "disable", "VX-200 一号", "VX-300 二号", "enable" }));
        // The sender is the meter's exchange port, not the search port.
        QCOMPARE(ports, (QList<quint16> { first.udpPort(), second.udpPort() }));
        // The silent target was asked too, and got exactly the search datagram.
        QVERIFY(silent.hasPendingDatagrams());
        QCOMPARE(silent.receiveDatagram().data(), QByteArray::fromHex("01010101"));
    }

    void repliesAreListedAsSent_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("trimmed") << " VX-200 地址1\r\n" << 1 << QStringList { "VX-200 地址1" };
        QTest::newRow("answers twice, listed once") << "VX-200" << 2 << QStringList { "VX-200" };
        QTest::newRow("blank") << " \t " << 1 << QStringList { "" };
    }
    void repliesAreListedAsSent()
    {
        QFETCH(QString, reply);
        QFETCH(int, repeat);
        QFETCH(QStringList, expected);
        SimRunner meter(searchProfile(reply, kLocal1, 0, repeat));
        QVERIFY(meter.isStarted());
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, searchPortOf(meter), 300 });
        SearchDeviceDialog dialog;
        dialog.show();
        QVERIFY(search(dialog));
        QCOMPARE(lines(dialog), expected);

        // The line shows and leads back to the meter's address.
        auto *list = child<QListWidget>(dialog, "listWidget");
        QVERIFY(list->item(0)->text().endsWith(QStringLiteral("  (127.0.0.1:%1)").arg(meter.udpPort())));
        list->setCurrentRow(list->count() - 1);
        child<QPushButton>(dialog, "bntOk")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // The unbound socket is dual-stack: senders come IPv4-mapped.
        QVERIFY(dialog.selectedAddress().isEqual(kLocal1, QHostAddress::TolerantConversion));
        QCOMPARE(dialog.selectedPort(), meter.udpPort());
    }

    void emptyDatagramsAreSkippedAndTextIsGb2312()
    {
        QUdpSocket fake;
        QVERIFY(fake.bind(kLocal1, 0));
        connect(&fake, &QUdpSocket::readyRead, this, [&] {
            while (fake.hasPendingDatagrams()) {
                const QNetworkDatagram request = fake.receiveDatagram();
                fake.writeDatagram(QByteArray(), request.senderAddress(), quint16(request.senderPort()));
                fake.writeDatagram(
                    simEncodeText(QStringLiteral("流量计")), request.senderAddress(), quint16(request.senderPort()));
            }
        });
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, fake.localPort(), 300 });
        SearchDeviceDialog dialog;
        QVERIFY(search(dialog));
        QCOMPARE(lines(dialog), QStringList { QStringLiteral("流量计") });
    }

    void noTargetsEndsAtOnce()
    {
        DSearchDeviceThread::setRouteOverride({ {}, 1500, 3000 });
        DSearchDeviceThread worker(nullptr);
        QSignalSpy enable(&worker, &DSearchDeviceThread::signalSetEnableButtons);
        QSignalSpy insert(&worker, &DSearchDeviceThread::signalInsertDevice);
        QElapsedTimer timer;
        timer.start();
        worker.startSearch();
        QVERIFY(worker.wait(5000));
        QVERIFY(timer.elapsed() < 1000);
        QTRY_COMPARE(enable.size(), 2);
        QCOMPARE(enable.at(0).at(0).toBool(), false);
        QCOMPARE(enable.at(1).at(0).toBool(), true);
        QCOMPARE(insert.size(), 0);
    }

    void replyWindowStartsAfreshWithEachReply()
    {
        // A meter that answers late, and again later: past the first window,
        // but within the window the first reply opened.
        QUdpSocket meter;
        QVERIFY(meter.bind(kLocal1, 0));
        QElapsedTimer clock;
        QList<qint64> repliedAt;
        const auto reply = [&](const QNetworkDatagram &asked, const QByteArray &text) {
            meter.writeDatagram(text, asked.senderAddress(), quint16(asked.senderPort()));
            repliedAt << clock.elapsed();
        };
        connect(&meter, &QUdpSocket::readyRead, this, [&] {
            const QNetworkDatagram asked = meter.receiveDatagram();
            QTimer::singleShot(300, &meter, [&, asked] {
                reply(asked, "first");
                QTimer::singleShot(500, &meter, [&, asked] { reply(asked, "second"); });
            });
        });
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, meter.localPort(), 700 });
        DSearchDeviceThread worker(nullptr);
        QStringList texts;
        qint64 endedAt = -1;
        connect(&worker, &DSearchDeviceThread::signalInsertDevice, this,
            [&](const QString &content, const QHostAddress &, quint16) { texts << content; });
        connect(&worker, &DSearchDeviceThread::signalSetEnableButtons, this, [&](bool enable) {
            if (enable)
                endedAt = clock.elapsed();
        });
        clock.start();
        worker.startSearch();
        QTRY_VERIFY_WITH_TIMEOUT(endedAt >= 0, 10000);
        // The same meter is listed once; its second reply still opened a window.
        QCOMPARE(texts, (QStringList { "first" }));
        QCOMPARE(repliedAt.size(), 2);
        // After the last reply the search still waited a whole window.
        QVERIFY2(
            endedAt >= repliedAt.last() + 700, qPrintable(QStringLiteral("%1 %2").arg(endedAt).arg(repliedAt.last())));
        QVERIFY2(endedAt < repliedAt.last() + 3000, qPrintable(QString::number(endedAt)));
    }

    void newSearchReplacesOldResults()
    {
        SimRunner first(searchProfile(QStringLiteral("一号"), kLocal1, 0));
        SimRunner second(searchProfile(QStringLiteral("二号"), kLocal2, 0));
        QVERIFY(first.isStarted() && second.isStarted());
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, searchPortOf(first), 300 });
        SearchDeviceDialog dialog;
        dialog.show();
        QVERIFY(search(dialog));
        QCOMPARE(lines(dialog), QStringList { QStringLiteral("一号") });
        child<QListWidget>(dialog, "listWidget")->setCurrentRow(0);

        DSearchDeviceThread::setRouteOverride({ { kLocal2 }, searchPortOf(second), 300 });
        QVERIFY(search(dialog));
        QCOMPARE(lines(dialog), QStringList { QStringLiteral("二号") });
        child<QListWidget>(dialog, "listWidget")->setCurrentRow(0);
        child<QPushButton>(dialog, "bntOk")->click();
        QCOMPARE(dialog.selectedPort(), second.udpPort());
    }

    void okWithoutSelectionAsksForOne()
    {
        SimRunner meter(searchProfile(QStringLiteral("一号"), kLocal1, 0));
        QVERIFY(meter.isStarted());
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, searchPortOf(meter), 300 });
        SearchDeviceDialog dialog;
        dialog.show();
        ModalBoxCatcher catcher;
        child<QPushButton>(dialog, "bntOk")->click(); // nothing listed yet
        QVERIFY(search(dialog));
        child<QListWidget>(dialog, "listWidget")->setCurrentItem(nullptr);
        child<QPushButton>(dialog, "bntOk")->click(); // listed, none chosen
        QCOMPARE(catcher.texts(), (QStringList { "请选择设备", "请选择设备" }));
        QCOMPARE(catcher.boxes().first().title, QStringLiteral("查找设备"));
        QCOMPARE(catcher.boxes().first().icon, QMessageBox::Critical);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.selectedAddress().isNull());

        auto *list = child<QListWidget>(dialog, "listWidget");
        dialog.slotItemDoubleClicked(list->item(0));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedPort(), meter.udpPort());
    }

    void formAndTitleBar()
    {
        SearchDeviceDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("查找设备"));
        QCOMPARE(dialog.size(), QSize(353, 374));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        for (const char *name : { "bntSearch", "bntOk", "bntCancel" })
            QVERIFY(child<QPushButton>(dialog, name)->minimumHeight() >= 28);
        QCOMPARE(lines(dialog), QStringList {});
    }

    void chattyHostEndsAtTheTargetLimit()
    {
        ChattyHost host;
        DSearchDeviceThread::setRouteOverride({ { kLocal1, kLocal1 }, host.socket.localPort(), 300, 700 });
        SearchDeviceDialog dialog;
        dialog.show();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(search(dialog));
        // Two targets of at most 700 ms each, however long the host talks,
        // and one line for the host, however often it answered.
        QVERIFY2(timer.elapsed() < 2500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(lines(dialog), QStringList { "VX-200" });
    }

    void cancelStopsTheSearchAndKeepsTheList()
    {
        ChattyHost host;
        DSearchDeviceThread::setRouteOverride({ { kLocal1 }, host.socket.localPort(), 1500 });
        SearchDeviceDialog dialog;
        dialog.show();
        child<QPushButton>(dialog, "bntSearch")->click();
        QTRY_COMPARE(lines(dialog).size(), 1);
        auto *cancel = child<QPushButton>(dialog, "bntCancel");
        QVERIFY(cancel->isEnabled());
        QElapsedTimer timer;
        timer.start();
        cancel->click();
        QVERIFY(!dialog.isSearching());
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(child<QPushButton>(dialog, "bntOk")->isEnabled());
        const int listed = lines(dialog).size();
        QCOMPARE(listed, 1);
        QTest::qWait(200);
        QCOMPARE(lines(dialog).size(), listed);

        // Escape does the same during a search, and closes the dialog after it.
        child<QPushButton>(dialog, "bntSearch")->click();
        QTRY_VERIFY(!lines(dialog).isEmpty());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isSearching());
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(child<QPushButton>(dialog, "bntSearch")->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void destroyingMidSearchIsSafe()
    {
        QUdpSocket silent;
        QVERIFY(silent.bind(kLocal1, 0));
        DSearchDeviceThread::setRouteOverride({ { kLocal1, kLocal1, kLocal1 }, silent.localPort(), 3000 });
        auto *dialog = new SearchDeviceDialog;
        dialog->show();
        child<QPushButton>(*dialog, "bntSearch")->click();
        QTRY_VERIFY(dialog->isSearching());
        QElapsedTimer timer;
        timer.start();
        delete dialog;
        // The stop flag ends the wait early instead of after 9 s: within a
        // poll's time, as before.
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QTest::qWait(50); // any late queued signal must find nothing to hit
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

VEXA_TEST_MAIN_IN_PRIVATE_NETWORK(TstSearchDevice)
#include "tst_searchdevice.moc"
