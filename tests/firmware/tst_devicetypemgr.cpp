#include "makersite/devicetypemgr.h"
#include "httptestserver.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using PackageMap = QMap<QString, QString>;
Q_DECLARE_METATYPE(PackageMap)
Q_DECLARE_METATYPE(HttpRoute)

namespace {

QByteArray page(const QByteArray &rows)
{
    return "<html><head><title>down</title></head><body><div class=\"list\">"
           "<div class=\"head\"><div>名称</div><div>大小</div><div>下载</div></div>"
        + rows + "</div></body></html>";
}

QByteArray row(const QByteArray &name, const QByteArray &href)
{
    return "<div class=\"row\"><div>" + name + "</div><div>12 KB</div><div><a href=\"" + href
        + "\">下载</a></div></div>";
}

const char kFailed[] = "获取设备列表失败,请重试!";

} // namespace

class TstDeviceTypeMgr : public QObject
{
    Q_OBJECT

private slots:
    void parsePage_data();
    void parsePage();
    void listKeepsEarlierEntries();
    void fetch_data();
    void fetch();
    void stopEndsStalledFetchSilently();

private:
    TempWorkDir m_dir;
};

void TstDeviceTypeMgr::parsePage_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<PackageMap>("list");

    QTest::newRow("three rows, sorted by name")
        << page(row("VX-200 V2.00", "http://h/b.vexabin") + row(" VX-100 <b>V1.02</b>\n", " http://h/a.vexabin ")
               + row("VX-100 V1.01", "http://h/c.vexabin"))
        << true
        << PackageMap { { "VX-100 V1.01", "http://h/c.vexabin" }, { "VX-100 V1.02", "http://h/a.vexabin" },
               { "VX-200 V2.00", "http://h/b.vexabin" } };
    QTest::newRow("head row only") << page("") << false << PackageMap {};
    QTest::newRow("row without div") << page("<p>just text</p>") << true << PackageMap { { "", "" } };
    QTest::newRow("row of another element name")
        << page("<li><div>VX-1</div><div><a href=\"http://h/x\">x</a></div></li>") << true
        << PackageMap { { "VX-1", "http://h/x" } };
    QTest::newRow("last div without link")
        << page("<div><div>VX-1</div><div>gone</div></div>") << true << PackageMap { { "VX-1", "" } };
    QTest::newRow("duplicate names keep the later link")
        << page(row("VX-1", "http://h/old") + row("VX-1", "http://h/new")) << true
        << PackageMap { { "VX-1", "http://h/new" } };
    QTest::newRow("not well-formed") << QByteArray("<html><body><div><div></div><div>") << false << PackageMap {};
    QTest::newRow("empty body") << QByteArray() << false << PackageMap {};
    QTest::newRow("wrong root") << QByteArray(page(row("VX-1", "l")).replace("html>", "HTML>")) << false
                                << PackageMap {};
    QTest::newRow("no div in body") << QByteArray("<html><body><p/><p/></body></html>") << false << PackageMap {};
}

void TstDeviceTypeMgr::parsePage()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ok);
    QFETCH(PackageMap, list);

    DeviceTypeMgr mgr;
    QCOMPARE(mgr.parsePage(body), ok);
    QCOMPARE(mgr.packageList(), list);
    QCOMPARE(mgr.packageList().keys(), list.keys());
}

void TstDeviceTypeMgr::listKeepsEarlierEntries()
{
    DeviceTypeMgr mgr;
    QVERIFY(mgr.parsePage(page(row("A", "1") + row("B", "2"))));
    QVERIFY(mgr.parsePage(page(row("B", "3") + row("C", "4"))));
    QCOMPARE(mgr.packageList(), (PackageMap { { "A", "1" }, { "B", "3" }, { "C", "4" } }));
}

void TstDeviceTypeMgr::fetch_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<HttpRoute>("route");
    QTest::addColumn<PackageMap>("list"); // empty: the fetch must fail

    const QByteArray body = page(row("VX-1", "http://h/1") + row("VX-2", "http://h/2"));
    const PackageMap two { { "VX-1", "http://h/1" }, { "VX-2", "http://h/2" } };
    HttpRoute plain;
    plain.body = body;
    QTest::newRow("page") << QByteArray("/down.html") << plain << two;

    HttpRoute noLength = plain;
    noLength.contentLength = false;
    noLength.chunkSize = 40;
    noLength.chunkIntervalMs = 5;
    QTest::newRow("no Content-Length, slow chunks") << QByteArray("/down.html") << noLength << two;

    HttpRoute cut = plain;
    cut.sendBytes = body.size() / 2;
    QTest::newRow("truncated page") << QByteArray("/down.html") << cut << PackageMap {};
    QTest::newRow("404") << QByteArray("/elsewhere.html") << plain << PackageMap {};

    // Pages that never end: one fast (stopped by the size cap), one dripping
    // a byte at a time (stopped by the deadline, 3 s here).
    HttpRoute endless;
    endless.body = row("VX-1", "http://h/1").repeated(100);
    endless.contentLength = false;
    endless.endless = true;
    QTest::newRow("endless page") << QByteArray("/down.html") << endless << PackageMap {};
    HttpRoute drip = plain;
    drip.chunkSize = 1;
    drip.chunkIntervalMs = 100;
    QTest::newRow("slow drip") << QByteArray("/down.html") << drip << PackageMap {};
}

void TstDeviceTypeMgr::fetch()
{
    QFETCH(QByteArray, path);
    QFETCH(HttpRoute, route);
    QFETCH(PackageMap, list);

    HttpTestServer server;
    server.setRoute(path, route);
    DeviceTypeMgr mgr;
    mgr.setPageUrl(server.url(QStringLiteral("/down.html")));
    mgr.setPageDeadlineMs(3000);
    QSignalSpy finished(&mgr, &DeviceTypeMgr::signalFinished);
    QSignalSpy error(&mgr, &DeviceTypeMgr::signalShowErrorMessage);
    QElapsedTimer timer;
    timer.start();
    mgr.startFetch();
    QVERIFY(mgr.wait(10000));
    QVERIFY2(timer.elapsed() < 6000, qPrintable(QString::number(timer.elapsed())));
    QCoreApplication::processEvents();

    if (list.isEmpty()) {
        QCOMPARE(finished.count(), 0);
        QCOMPARE(error.count(), 1);
        QCOMPARE(error.at(0).at(0).toString(), QString::fromUtf8(kFailed));
    } else {
        QCOMPARE(error.count(), 0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(mgr.packageList(), list);
    }
}

void TstDeviceTypeMgr::stopEndsStalledFetchSilently()
{
    HttpTestServer server;
    HttpRoute stalled;
    stalled.body = page(row("VX-1", "http://h/1"));
    stalled.sendBytes = 30;
    stalled.hold = true;
    server.setRoute("/down.html", stalled);

    DeviceTypeMgr mgr;
    mgr.setPageUrl(server.url(QStringLiteral("/down.html")));
    QSignalSpy finished(&mgr, &DeviceTypeMgr::signalFinished);
    QSignalSpy error(&mgr, &DeviceTypeMgr::signalShowErrorMessage);
    mgr.startFetch();
    QTRY_COMPARE_WITH_TIMEOUT(server.requestCount(), 1, 5000);
    QTest::qWait(150);
    QVERIFY(mgr.isRunning());

    QElapsedTimer timer;
    timer.start();
    mgr.stop();
    QVERIFY(!mgr.isRunning());
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCoreApplication::processEvents();
    QCOMPARE(finished.count() + error.count(), 0);

    // A stop that comes before the fetch waits for its page ends it too.
    for (int i = 0; i < 20; ++i) {
        timer.restart();
        mgr.startFetch();
        mgr.stop();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    }
    QCoreApplication::processEvents();
    QCOMPARE(finished.count() + error.count(), 0);

    // A stop request does not outlive the fetch it ended.
    server.setRoute("/down.html", HttpRoute { "200 OK", page(row("VX-2", "http://h/2")) });
    mgr.startFetch();
    QVERIFY(mgr.wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(finished.count(), 1);
}

QTEST_GUILESS_MAIN(TstDeviceTypeMgr)
#include "tst_devicetypemgr.moc"
