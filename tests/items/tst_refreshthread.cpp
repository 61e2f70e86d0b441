#include "items/refreshthread.h"
#include "sim/simframe.h"
#include "tests/items/metersettings.h"
#include "tests/support/tempworkdir.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// Everything one refresh reported, in order.
struct RefreshRecord
{
    int clears = 0;
    QList<int> indices;
    QList<QStringList> items;
    QStringList errors;
    QStringList titles;
};

// A refresh over the given connection, as the window hands it over.
RefreshRecord runRefresh(const LinkSettings &link, int timeoutMs = 30000)
{
    RefreshThread thread;
    thread.setLinkSettings(link);
    RefreshRecord record;
    QObject::connect(&thread, &RefreshThread::signalClearItems, [&record]() { ++record.clears; });
    QObject::connect(&thread, &RefreshThread::signalAddItems, [&record](int index, const QStringList &list) {
        record.indices << index;
        record.items << list;
    });
    QObject::connect(&thread, &RefreshThread::showErrorMessage,
        [&record](const QString &title, const QString &error, const QString &image) {
            record.titles << title;
            record.errors << error;
            Q_UNUSED(image);
        });
    thread.start();
    if (!thread.wait(timeoutMs))
        qFatal("refresh did not end");
    QCoreApplication::processEvents();
    return record;
}

// A refresh over the connection stored now.
RefreshRecord runRefresh()
{
    return runRefresh(storedLinkSettings());
}

QList<int> range(int from, int to)
{
    QList<int> list;
    for (int i = from; i <= to; ++i)
        list << i;
    return list;
}

int requestsFor(const SimRunner &meter, int index)
{
    int count = 0;
    for (const SimRequest &request : meter.receivedRequests())
        count += request.isItemRead() && request.index == index;
    return count;
}

} // namespace

class TstRefreshThread : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void readsTheWholeDemoList_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("udp") << true;
        QTest::newRow("serial") << false;
    }
    void readsTheWholeDemoList()
    {
        QFETCH(bool, udp);
        TempWorkDir dir;
        SimRunner meter(SimProfile::demo(), meterTransports());
        QVERIFY(meter.isStarted());
        connectToMeter(meter, udp);

        QElapsedTimer clock;
        clock.start();
        const RefreshRecord record = runRefresh();
        qInfo("%s: %lld ms", udp ? "udp" : "pty", clock.elapsed());
        const QList<SimItem> items = SimProfile::demo().items;
        QCOMPARE(record.errors, QStringList());
        QCOMPARE(record.clears, 1);
        QCOMPARE(record.indices, range(0, items.size() - 1));
        QCOMPARE(record.items.at(1), (QStringList { "设备型号", "VX-200" }));
        QCOMPARE(record.items.at(5), (QStringList { "波特率(2400/4800/9600/19200/38400)", "9600" }));
        QCOMPARE(record.items.last(), QStringList { "清除历史记录" });
        QCOMPARE(meter.receivedFrames().first(), QByteArray::fromHex("01034B000000522E"));
        QCOMPARE(meter.receivedFrames().size(), items.size() + 1);
    }

    // The worker reads no settings: the connection handed to it is the one
    // used, and config.ini is neither read nor written.
    void runsOnTheConnectionHandedIn()
    {
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ QStringLiteral("a:1"), QStringLiteral("b:2") }));
        QVERIFY(meter.isStarted());
        const RefreshRecord record = runRefresh(meterLink(meter, true));
        QCOMPARE(record.errors, QStringList());
        QCOMPARE(record.items, (QList<QStringList> { { "a", "1" }, { "b", "2" } }));
        singleton<Config>::release();
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("config.ini"))));
    }

    // Two items that read the very same cannot be told from a row shifted by
    // a late answer: each time the second is asked twice, the list is read
    // once more, and then the refresh fails.
    void identicalNeighbours()
    {
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ "a:1", "a:1", "b:2" }));
        connectToMeter(meter, true);
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.errors, QStringList { "配置项0与配置项1的应答完全相同,列表可能错位,请重新读取" });
        QCOMPARE(record.clears, 2);
        QCOMPARE(record.items, (QList<QStringList> { { "a", "1" }, { "a", "1" } }));
        QCOMPARE(requestsFor(meter, 1), 4);
        QCOMPARE(requestsFor(meter, 2), 0);
    }

    void emptyListEndsAtOnce()
    {
        TempWorkDir dir;
        SimRunner meter(meterWithItems({}));
        connectToMeter(meter, true);
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.clears, 1);
        QVERIFY(record.items.isEmpty());
        QCOMPARE(record.errors, QStringList());
    }

    void oneLostAnswerIsAskedAgain()
    {
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ "a:1", "b:2", "c:3", "d:4", "e:5" }));
        connectToMeter(meter, true);
        meter.addFault("silent,match=read,index=3");
        QElapsedTimer clock;
        clock.start();
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.errors, QStringList());
        QCOMPARE(record.indices, range(0, 4));
        QCOMPARE(requestsFor(meter, 3), 2);
        QVERIFY2(clock.elapsed() >= 2900, "the first attempt waits its 3000 ms");
    }

    void twoFailuresEndTheRefresh()
    {
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ "a:1", "b:2", "c:3", "d:4", "e:5" }), meterTransports());
        connectToMeter(meter, false);
        meter.addFault("bad-crc,match=read,index=3,times=2");
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.indices, range(0, 2));
        QCOMPARE(record.errors, QStringList { "CRC校验错误" });
        QCOMPARE(record.titles, QStringList { "刷新" });
        QCOMPARE(requestsFor(meter, 3), 2);
        QCOMPARE(requestsFor(meter, 4), 0);
    }

    void checkErrorsShowTheAnswer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("prefix");
        const QByteArray text = simEncodeText("c:3");
        QTest::newRow("other address") << "other-address,match=read,index=2,value=7" << simAddressAnswer(7, text)
                                       << "地址或命令校验错误: \n";
        QByteArray longer = QByteArray("\x01\x03", 2) + char(text.size() + 1) + text;
        simAppendCrcLowFirst(longer);
        QTest::newRow("wrong length") << "wrong-length,match=read,index=2" << longer << "数据长度校验错误 : \n";
    }
    void checkErrorsShowTheAnswer()
    {
        QFETCH(QString, fault);
        QFETCH(QByteArray, answer);
        QFETCH(QString, prefix);
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ "a:1", "b:2", "c:3", "d:4" }), meterTransports());
        connectToMeter(meter, false);
        meter.addFault(fault);
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.indices, range(0, 1));
        QString dump;
        for (char byte : answer)
            dump += QStringLiteral("%1 ").arg(quint8(byte), 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(record.errors, QStringList { prefix + dump });
        QCOMPARE(requestsFor(meter, 2), 1);
    }

    void stopsAfterTheLastIndexByte()
    {
        TempWorkDir dir;
        SimRunner meter(SimProfile::fromJson(R"({"address": 1, "endlessItems": true})"), meterTransports());
        connectToMeter(meter, false);
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.indices, range(0, 255));
        QCOMPARE(record.items.last(), (QStringList { "项255", "255" }));
        QCOMPARE(record.errors, QStringList { "设备在第256项后仍未结束配置列表,已停止读取" });
        QCOMPARE(meter.receivedFrames().size(), 256);
    }

    // Closing the window while a silent meter is asked: the worker ends
    // within a poll slice, quietly, and the items read so far stay.
    void stopDuringSlowRefresh_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("udp") << true;
        QTest::newRow("serial") << false;
    }
    void stopDuringSlowRefresh()
    {
        QFETCH(bool, udp);
        TempWorkDir dir;
        SimRunner meter(meterWithItems({ "a:1", "b:2", "c:3" }), meterTransports());
        connectToMeter(meter, udp);
        meter.addFault("silent,match=read,after=1,times=all");
        RefreshThread thread;
        thread.setLinkSettings(storedLinkSettings());
        QSignalSpy items(&thread, &RefreshThread::signalAddItems);
        QSignalSpy errors(&thread, &RefreshThread::showErrorMessage);
        thread.start();
        QVERIFY(meter.waitForFrames(2));
        QThread::msleep(300);
        QElapsedTimer stopping;
        stopping.start();
        thread.requestStop();
        QVERIFY(thread.wait(12000));
        qInfo("stopped after %lld ms", stopping.elapsed());
        QVERIFY2(stopping.elapsed() < 250, qPrintable(QString::number(stopping.elapsed())));
        QCOMPARE(items.count(), 1);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(requestsFor(meter, 1), 1);
    }

    void openFailureLeavesTheTree()
    {
        TempWorkDir dir;
        storeLinkSettings(LinkSettings::overSerial(QString(), 255));
        const RefreshRecord record = runRefresh();
        QCOMPARE(record.clears, 0);
        QCOMPARE(record.errors,
            QStringList { "串口打开失败\n未选择串口 · 地址 255: 请检查端口名称，以及端口是否被其他程序占用。" });
    }
};

QTEST_GUILESS_MAIN(TstRefreshThread)
#include "tst_refreshthread.moc"
