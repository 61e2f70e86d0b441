#include "fleet/fleetrunner.h"
#include "fleet/meterlist.h"
#include "fleet/targeturi.h"
#include "tests/support/tempworkdir.h"

#include <QFile>
#include <QtTest>

class TestMeterList : public QObject
{
    Q_OBJECT

private slots:
    void uriRoundTrip_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::newRow("udp") << "udp://127.0.0.1:47800?address=3";
        QTest::newRow("udp v6") << "udp://[::1]:5000?address=255";
        QTest::newRow("serial plain") << "serial:/dev/ttyUSB0?baud=9600&address=1";
        QTest::newRow("serial framed")
            << "serial:/dev/ttyS1?baud=4800&data-bits=7&parity=even&stop-bits=1.5&rts=1&address=9";
    }
    void uriRoundTrip()
    {
        QFETCH(QString, uri);
        LinkSettings link;
        QCOMPARE(parseTargetUri(uri, &link), QString());
        QCOMPARE(targetUri(link), uri);
    }

    // Lines the program cannot use stay in the file, in place and byte for
    // byte; the rest are meters.
    void faultyLinesAreKept_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("problem");
        QTest::newRow("scheme") << QByteArray("a,tcp://1.2.3.4:5") << "无法识别的目标: tcp://1.2.3.4:5";
        QTest::newRow("duplicate") << QByteArray("pump1,udp://127.0.0.1:9?address=1") << "名称pump1重复出现";
        QTest::newRow("separator") << QByteArray("../x,udp://127.0.0.1:9") << "名称应为字母、数字、点、横线或下划线";
        QTest::newRow("broadcast") << QByteArray("b,udp://255.255.255.255:9")
                                   << "不能向广播或组播地址发送: 255.255.255.255";
        QTest::newRow("multicast") << QByteArray("m,udp://239.1.1.1:9") << "不能向广播或组播地址发送: 239.1.1.1";
        QTest::newRow("no comma") << QByteArray("justaname") << "一行应为 NAME,URI";
        QTest::newRow("long") << QByteArray("x,serial:/dev/") + QByteArray(5000, 'a') << "一行不能超过4096字节";
        QTest::newRow("not utf-8") << QByteArray("p\xff,udp://127.0.0.1:9") << "名称应为字母、数字、点、横线或下划线";
    }
    void faultyLinesAreKept()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, problem);
        TempWorkDir dir;
        const QByteArray file = "# site\npump1,udp://127.0.0.1:47800?address=1\n" + line + "\ntty,serial:/dev/null\n";
        QVERIFY(dir.writeFile("meters.txt", file));
        MeterList list;
        QCOMPARE(list.read(dir.filePath("meters.txt")), MeterList::Read);
        QCOMPARE(list.meters().size(), 2);
        QCOMPARE(list.problems(QStringLiteral("meters.txt")), QStringList { "meters.txt 第3行: " + problem });

        // Adding and removing meters writes the unreadable line back unchanged.
        QVERIFY(list.add(QStringLiteral("new1"), LinkSettings::overUdp(QStringLiteral("127.0.0.2"), 7, 4)));
        QString why;
        QVERIFY(!list.add(QStringLiteral("tty"), LinkSettings(), &why));
        QCOMPARE(why, QStringLiteral("名称tty重复出现"));
        list.removeAt(list.indexOf(QStringLiteral("pump1")));
        QVERIFY(list.save(dir.filePath("meters.txt")));
        QFile saved(dir.filePath("meters.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), "# site\n" + line + "\ntty,serial:/dev/null\nnew1,udp://127.0.0.2:7?address=4\n");
    }

    void manyLinesStayBounded()
    {
        QByteArray bytes;
        for (int i = 0; i < 10000; ++i)
            bytes += "m" + QByteArray::number(i) + ",udp://127.0.0.1:" + QByteArray::number(1000 + i) + "\n";
        MeterList list;
        list.parse(bytes);
        QCOMPARE(list.meters().size(), MeterList::kMaxMeters);
        QCOMPARE(list.entries().size(), 10000);
        QCOMPARE(list.entries().last().problem, QStringLiteral("最多4096台设备"));
        QCOMPARE(list.toBytes(), bytes);
    }

    // Serial meters of one device one after the other; no new meter after
    // the failure limit or a stop.
    void runnerLimits_data()
    {
        QTest::addColumn<int>("maxFailures");
        QTest::addColumn<bool>("stopAfterFirst");
        QTest::addColumn<QString>("outcomes");
        QTest::newRow("no limit") << 0 << false << "FFFD";
        QTest::newRow("one failure") << 1 << false << "FNNN";
        QTest::newRow("two failures") << 2 << false << "FFNN";
        QTest::newRow("stopped") << 0 << true << "FNNN";
    }
    void runnerLimits()
    {
        QFETCH(int, maxFailures);
        QFETCH(bool, stopAfterFirst);
        QFETCH(QString, outcomes);
        const QVector<LinkSettings> links(4, LinkSettings::overSerial(QStringLiteral("/dev/null"), 1));
        QCOMPARE(FleetRunner::lanes(links).size(), 1);
        std::atomic_bool stop { false };
        FleetLimits limits;
        limits.parallel = 4;
        limits.maxFailures = maxFailures;
        limits.stop = &stop;
        const QVector<FleetOutcome> result = FleetRunner::run(links, limits, [&](int index) {
            stop = stopAfterFirst;
            return index < 3 ? FleetOutcome::Failed : FleetOutcome::Done;
        });
        QString letters;
        for (FleetOutcome outcome : result)
            letters += QLatin1Char("DFSN"[int(outcome)]);
        QCOMPARE(letters, outcomes);
    }
};

QTEST_GUILESS_MAIN(TestMeterList)
#include "tst_meterlist.moc"
