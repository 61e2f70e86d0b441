#include "base/settings.h"
#include "history/historyrequest.h"
#include "history/readthread.h"
#include "historyprofile.h"
#include "readerlog.h"
#include "sim/historyresponder.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"
#include "tests/support/tempworkdir.h"

#include <QUdpSocket>
#include <QtTest>

#include <memory>

// The reader against the simulated meter, over UDP and over a pty.
class TstHistorySim : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void query_data();
    void query();
    void malformedRequestGetsNoAnswer_data();
    void malformedRequestGetsNoAnswer();
    void recordsDoNotDependOnTheRange();
    void demoProfileHoldsMonthsOfHistory();

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

void TstHistorySim::init()
{
    m_dir = std::make_unique<TempWorkDir>();
}

void TstHistorySim::cleanup()
{
    singleton<Config>::release();
    m_dir.reset();
}

void TstHistorySim::query_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("records");
    QTest::newRow("udp, three days") << true << QDate(2024, 2, 28) << QDate(2024, 3, 1) << 3 * 24 + 1;
    QTest::newRow("pty, one day, a hand-written record replaces 08:00")
        << false << QDate(2024, 3, 5) << QDate(2024, 3, 5) << 24;
    QTest::newRow("udp, nothing logged") << true << QDate(2025, 1, 1) << QDate(2025, 1, 2) << 0;
}

void TstHistorySim::query()
{
    QFETCH(bool, udp);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(int, records);

    SimTransportOptions options;
    options.pty = !udp;
    const SimProfile profile = historyTestProfile();
    SimRunner meter(profile, options);
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    connectToMeter(meter, udp);

    ReadThread reader;

    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    const QByteArray request = buildHistoryRequest(start, end);
    QVERIFY(reader.startQuery(request));
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 20000);

    const QStringList lines = simHistoryLines(profile.section(QStringLiteral("history")), start, end, QDateTime());
    QCOMPARE(lines.size(), records + 1); // the header comes first
    QStringList expected { QStringLiteral("clear") };
    for (const QString &line : lines)
        expected << QStringLiteral("add:") + line + QStringLiteral("\r\n");
    expected << QStringLiteral("finished");
    QCOMPARE(log.events, expected);

    QCOMPARE(meter.receivedFrames(), QList<QByteArray>({ request }));
    const SimState state = meter.state();
    QCOMPARE(state.extra.value(QStringLiteral("history/start")).toDate(), start);
    QCOMPARE(state.extra.value(QStringLiteral("history/end")).toDate(), end);
}

void TstHistorySim::malformedRequestGetsNoAnswer_data()
{
    QTest::addColumn<QByteArray>("body");
    // The length words must stay 0x0007/0x0004 although six date bytes follow.
    QTest::newRow("length words 9/6") << QByteArray::fromHex("7E05024E9F0009910006180301180301");
    QTest::newRow("impossible date") << QByteArray::fromHex("7E05024E9F0007910004180230180301");
}

void TstHistorySim::malformedRequestGetsNoAnswer()
{
    QFETCH(QByteArray, body);
    SimRunner meter(historyTestProfile());
    QVERIFY(meter.isStarted());
    QUdpSocket socket;
    QVERIFY(socket.bind(QHostAddress(QHostAddress::LocalHost), quint16(0)));
    const QByteArray frame = simTildeFrame(body);
    QCOMPARE(socket.writeDatagram(frame, QHostAddress::LocalHost, meter.udpPort()), qint64(frame.size()));
    QVERIFY(meter.waitForFrames(1, 5000));
    QVERIFY(!socket.waitForReadyRead(300));
    QCOMPARE(meter.state().extra.value(QStringLiteral("history/refused")).toInt(), 1);
    QCOMPARE(meter.state().extra.value(QStringLiteral("history/requests")).toInt(), 0);
}

void TstHistorySim::recordsDoNotDependOnTheRange()
{
    // A record reads the same whether asked alone or within a longer range
    // (the running total counts from the start of the log).
    const QJsonObject section = historyTestProfile().section(QStringLiteral("history"));
    const QStringList month = simHistoryLines(section, QDate(2024, 2, 1), QDate(2024, 2, 29), QDateTime());
    const QStringList day = simHistoryLines(section, QDate(2024, 2, 10), QDate(2024, 2, 10), QDateTime());
    QCOMPARE(day.size(), 25);
    QCOMPARE(day.mid(1), month.mid(1 + 9 * 24, 24));
    QCOMPARE(day.at(1).split(QLatin1Char(',')).size(), 4);
}

void TstHistorySim::demoProfileHoldsMonthsOfHistory()
{
    const QJsonObject section = SimProfile::demo().section(QStringLiteral("history"));
    const QDate today(2025, 6, 30);
    const QStringList lines = simHistoryLines(section, today.addDays(-119), today, QDateTime(today, QTime(23, 45)));
    QVERIFY2(lines.size() > 5000, qPrintable(QString::number(lines.size())));
    QVERIFY(lines.first().startsWith(QStringLiteral("日期时间,")));
    QVERIFY(lines.last().startsWith(QStringLiteral("2025-06-30 23:30:00,")));
}

QTEST_GUILESS_MAIN(TstHistorySim)
#include "tst_historysim.moc"
