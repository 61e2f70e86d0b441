#include "simclient.h"

#include "sim/simrunner.h"
#include "tests/support/tempworkdir.h"

#include "sim/historyresponder.h"
#include "sim/searchresponder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <QJsonObject>
#include <QtTest>

// Items, clock, recording and every fault kind over real loopback UDP.
class TstSimUdp : public QObject
{
    Q_OBJECT
private slots:
    void readsWholeList();
    void writes_data();
    void writes();
    void leavesDebugSwitchAlone();
    void clock_data();
    void clock();
    void ignoresOtherAddressesButRecordsThem();
    void recordsGarbage();
    void faults_data();
    void faults();
    void dropsOnlyTheNthAnswer();
    void faultMatchesOneItem();
    void disappears();
    void severalMeters();
    void unsolicitedGoesToLastPeer();
    void longHistoryAnswerArrivesInOrder();
    void searchReplyNamesTheRunningAddress();
    void chaosWrites_data();
    void chaosWrites();
    void chaosHoldsAnswersForLaterRequests();
    void chaosEpisodeReplaysAndKeepsTheFlash();
    void truthFileFollowsTheMeter();

private:
    TempWorkDir m_dir;
};

void TstSimUdp::readsWholeList()
{
    SimRunner meter;
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    QVERIFY(meter.udpPort() != 0);
    const SimProfile demo = SimProfile::demo();
    UdpClient client;
    for (int index = 0; index < demo.items.size(); ++index) {
        const QByteArray answer = client.exchange(meter.udpPort(), readRequest(1, quint8(index)));
        QCOMPARE(answer, simAddressAnswer(1, simEncodeText(demo.items[index].text())));
    }
    const QByteArray end = client.exchange(meter.udpPort(), readRequest(1, quint8(demo.items.size())));
    QCOMPARE(end, simFromHex(QStringLiteral("01 03 00 20 F0")));
    QCOMPARE(meter.receivedFrames().size(), demo.items.size() + 1);
    QCOMPARE(meter.receivedFrames().first(), simFromHex(QStringLiteral("01 03 4B 00 00 00 52 2E")));
}

void TstSimUdp::writes_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("answerText");
    QTest::addColumn<QString>("commandRun");

    const QByteArray profile = R"({"address": 1, "items": [
        "IP地址:192.168.1.10", "波特率(9600/19200):9600", {"text": "编号:A1", "readOnly": true},
        "恢复出厂设置", "时间:12:00"]})";
    QTest::newRow("free text") << profile << 0 << "10.0.0.7"
                               << "IP地址:10.0.0.7"
                               << "";
    QTest::newRow("empty value") << profile << 0 << ""
                                 << "IP地址:"
                                 << "";
    QTest::newRow("listed choice") << profile << 1 << "19200"
                                   << "波特率(9600/19200):19200"
                                   << "";
    QTest::newRow("choice not listed") << profile << 1 << "4800"
                                       << "波特率(9600/19200):9600"
                                       << "";
    QTest::newRow("read-only") << profile << 2 << "B2"
                               << "编号:A1"
                               << "";
    QTest::newRow("command") << profile << 3 << ""
                             << "恢复出厂设置"
                             << "恢复出厂设置";
    QTest::newRow("value with colon") << profile << 4 << "13:45"
                                      << "时间:13:45"
                                      << "";
    QTest::newRow("past the end") << profile << 9 << "x"
                                  << ""
                                  << "";
    QTest::newRow("too long to hold") << profile << 0 << QString(250, QLatin1Char('9')) << "IP地址:192.168.1.10"
                                      << "";
}

void TstSimUdp::writes()
{
    QFETCH(QByteArray, profile);
    QFETCH(int, index);
    QFETCH(QString, value);
    QFETCH(QString, answerText);
    QFETCH(QString, commandRun);

    SimRunner meter(SimProfile::fromJson(profile));
    UdpClient client;
    const QByteArray answer = client.exchange(meter.udpPort(), writeRequest(1, quint8(index), simEncodeText(value)));
    QCOMPARE(answer, simAddressAnswer(1, simEncodeText(answerText)));
    // What the meter now holds is what it answers to a read.
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(1, quint8(index))), answer);
    QCOMPARE(meter.state().commandsRun.join(QLatin1Char('|')), commandRun);
}

void TstSimUdp::leavesDebugSwitchAlone()
{
    SimRunner meter;
    const QList<SimItem> before = meter.items();
    UdpClient client;
    const QByteArray answer = client.exchange(meter.udpPort(), writeRequest(1, 255, "1"), 300);
    // Whatever the debug feature answers, it is not the item list's end nor an item.
    QVERIFY(answer != simAddressAnswer(1, QByteArray()));
    QCOMPARE(meter.items().size(), before.size());
    for (int i = 0; i < before.size(); ++i)
        QCOMPARE(meter.items()[i].text(), before[i].text());
}

void TstSimUdp::clock_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QDateTime>("recorded");
    QTest::addColumn<int>("dow");

    const QByteArray ok = simFromHex(QStringLiteral("01 03 02 4F 4B CC 43"));
    const QByteArray refused = simAddressAnswer(1, "ER");
    QTest::newRow("Monday 2026-12-07 14:30:05") << simFromHex(QStringLiteral("1A 0C 07 0E 1E 05 01")) << ok
                                                << QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5)) << 1;
    QTest::newRow("year 2000, Sunday") << simFromHex(QStringLiteral("00 01 02 00 00 00 07")) << ok
                                       << QDateTime(QDate(2000, 1, 2), QTime(0, 0)) << 7;
    QTest::newRow("month 13") << simFromHex(QStringLiteral("1A 0D 07 0E 1E 05 01")) << refused << QDateTime() << 0;
    QTest::newRow("31 February") << simFromHex(QStringLiteral("1A 02 1F 0E 1E 05 01")) << refused << QDateTime() << 0;
    QTest::newRow("hour 24") << simFromHex(QStringLiteral("1A 0C 07 18 1E 05 01")) << refused << QDateTime() << 0;
    QTest::newRow("day of week 0") << simFromHex(QStringLiteral("1A 0C 07 0E 1E 05 00")) << refused << QDateTime() << 0;
}

void TstSimUdp::clock()
{
    QFETCH(QByteArray, fields);
    QFETCH(QByteArray, answer);
    QFETCH(QDateTime, recorded);
    QFETCH(int, dow);

    SimRunner meter;
    UdpClient client;
    QCOMPARE(client.exchange(meter.udpPort(), clockRequest(1, fields)), answer);
    const SimState state = meter.state();
    QCOMPARE(state.clockSet, recorded);
    QCOMPARE(state.clockDayOfWeek, dow);
    QCOMPARE(state.clockSetCount, recorded.isValid() ? 1 : 0);
    if (recorded.isValid()) {
        const qint64 drift = recorded.msecsTo(state.now());
        QVERIFY2(drift >= 0 && drift < 5000, qPrintable(QString::number(drift)));
    }
}

void TstSimUdp::ignoresOtherAddressesButRecordsThem()
{
    SimRunner meter;
    UdpClient client;
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(2, 0), 300), QByteArray());
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(255, 0), 300), QByteArray());
    QVERIFY(meter.waitForFrames(2, 1000));
    QCOMPARE(meter.receivedFrames(), (QList<QByteArray> { readRequest(2, 0), readRequest(255, 0) }));
    QCOMPARE(meter.receivedRequests().at(1).peerPort, client.localPort());
    QCOMPARE(meter.receivedRequests().at(1).sequence, 1);
}

void TstSimUdp::recordsGarbage()
{
    SimRunner meter;
    UdpClient client;
    const QByteArray junk = simFromHex(QStringLiteral("55 AA"));
    QCOMPARE(client.exchange(meter.udpPort(), junk + readRequest(1, 1) + junk).mid(3, 4), simEncodeText("设备"));
    QCOMPARE(meter.receivedGarbage(), junk + junk);
    meter.clearReceived();
    QVERIFY(meter.receivedFrames().isEmpty());
    QVERIFY(meter.receivedGarbage().isEmpty());
}

void TstSimUdp::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("check");
    QTest::newRow("silent") << "silent"
                            << "none";
    QTest::newRow("bad crc") << "bad-crc"
                             << "crc";
    QTest::newRow("other address") << "other-address"
                                   << "address";
    QTest::newRow("other address 9") << "other-address,value=9"
                                     << "address9";
    QTest::newRow("other port") << "other-port"
                                << "port";
    QTest::newRow("wrong length") << "wrong-length"
                                  << "length";
    QTest::newRow("split") << "split,parts=3,delay=60"
                           << "split";
    QTest::newRow("delay") << "delay,delay=300"
                           << "delay";
    QTest::newRow("truncate") << "truncate,value=4"
                              << "truncate";
    QTest::newRow("garbage") << "garbage,value=3"
                             << "garbage";
    QTest::newRow("lost write") << "lost"
                                << "lost";
}

void TstSimUdp::faults()
{
    QFETCH(QString, fault);
    QFETCH(QString, check);

    SimRunner meter;
    meter.addFault(fault);
    UdpClient client;
    const QByteArray expected = simAddressAnswer(1, simEncodeText(SimProfile::demo().items[1].text()));
    QElapsedTimer clock;
    clock.start();
    const bool quiet = check == "none" || check == "lost";
    client.send(meter.udpPort(), check == "lost" ? writeRequest(1, 5, "19200") : readRequest(1, 1));
    const QList<QNetworkDatagram> datagrams = client.collect(quiet ? 400 : 2000, 200);
    QByteArray joined;
    for (const QNetworkDatagram &datagram : datagrams)
        joined += datagram.data();

    if (check == "none") {
        QVERIFY(datagrams.isEmpty());
    } else if (check == "lost") {
        QVERIFY(datagrams.isEmpty());
        QCOMPARE(meter.items().at(5).value, SimProfile::demo().items.at(5).value);
    } else if (check == "crc") {
        QCOMPARE(joined.size(), expected.size());
        QCOMPARE(joined.left(joined.size() - 2), expected.left(expected.size() - 2));
        QVERIFY(joined.right(2) != expected.right(2));
    } else if (check.startsWith("address")) {
        // Only the address differs; the CRC is valid for what was sent.
        const QByteArray payload = expected.mid(3, expected.size() - 5);
        QCOMPARE(joined, simAddressAnswer(check == "address9" ? 9 : 0, payload));
    } else if (check == "port") {
        QCOMPARE(datagrams.size(), 1);
        QCOMPARE(joined, expected);
        QVERIFY(datagrams.first().senderPort() != meter.udpPort());
        QCOMPARE(datagrams.first().senderAddress(), QHostAddress(QHostAddress::LocalHost));
    } else if (check == "length") {
        QByteArray lying = expected.left(expected.size() - 2);
        lying[2] = char(lying.at(2) + 1);
        simAppendCrcLowFirst(lying);
        QCOMPARE(joined, lying);
    } else if (check == "split") {
        QCOMPARE(datagrams.size(), 3);
        QCOMPARE(joined, expected);
        QVERIFY2(clock.elapsed() >= 100, qPrintable(QString::number(clock.elapsed())));
    } else if (check == "delay") {
        QCOMPARE(joined, expected);
        QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
    } else if (check == "truncate") {
        QCOMPARE(joined, expected.left(4));
    } else if (check == "garbage") {
        QCOMPARE(joined.size(), expected.size() + 3);
        QCOMPARE(joined.mid(3), expected);
    }

    // A rule spoils one answer by default; the next one is clean again.
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(1, 1)), expected);
}

void TstSimUdp::dropsOnlyTheNthAnswer()
{
    SimRunner meter;
    meter.addFault(QStringLiteral("silent,after=2"));
    UdpClient client;
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 0)).isEmpty());
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 1)).isEmpty());
    QVERIFY(client.exchange(meter.udpPort(), readRequest(1, 2), 300).isEmpty());
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 3)).isEmpty());

    meter.addFault(QStringLiteral("bad-crc,times=all"));
    for (int i = 0; i < 3; ++i) {
        const QByteArray answer = client.exchange(meter.udpPort(), readRequest(1, 0));
        QVERIFY(answer != simAddressAnswer(1, simEncodeText(SimProfile::demo().items[0].text())));
    }
    meter.clearFaults();
    QCOMPARE(client.exchange(meter.udpPort(), readRequest(1, 0)),
        simAddressAnswer(1, simEncodeText(SimProfile::demo().items[0].text())));
}

void TstSimUdp::faultMatchesOneItem()
{
    SimRunner meter;
    meter.addFault(QStringLiteral("silent,match=read,index=3"));
    UdpClient client;
    QVERIFY(!client.exchange(meter.udpPort(), writeRequest(1, 3, "x")).isEmpty()); // a write is not a read
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 2)).isEmpty());
    QVERIFY(client.exchange(meter.udpPort(), readRequest(1, 3), 300).isEmpty());
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 3)).isEmpty()); // the retry is answered
}

void TstSimUdp::disappears()
{
    SimRunner meter;
    meter.addFault(QStringLiteral("disappear,match=read,index=2"));
    UdpClient client;
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 1)).isEmpty());
    QVERIFY(client.exchange(meter.udpPort(), readRequest(1, 2), 300).isEmpty());
    QVERIFY(client.exchange(meter.udpPort(), readRequest(1, 1), 300).isEmpty());
    bool open = true;
    meter.call([&open](MeterSim &sim) { open = sim.isOpen(); });
    QVERIFY(!open);
    QCOMPARE(meter.receivedFrames().size(), 2); // the last request found nobody listening
}

void TstSimUdp::severalMeters()
{
    SimProfile second = SimProfile::fromJson(R"({"address": 2, "items": ["设备名称:二号表"]})");
    SimRunner one;
    SimRunner two(second);
    QVERIFY(two.isStarted());
    QVERIFY(one.udpPort() != two.udpPort());
    UdpClient client;
    QCOMPARE(client.exchange(two.udpPort(), readRequest(2, 0)), simAddressAnswer(2, simEncodeText("设备名称:二号表")));
    QCOMPARE(client.exchange(one.udpPort(), readRequest(2, 0), 300), QByteArray());
    QVERIFY(!client.exchange(one.udpPort(), readRequest(1, 0)).isEmpty());
    QCOMPARE(one.receivedFrames().size(), 2);
    QCOMPARE(two.receivedFrames().size(), 1);

    // A fixed port that is taken is reported, not ignored.
    SimTransportOptions taken;
    taken.udpPort = one.udpPort();
    SimRunner clash(SimProfile::demo(), taken);
    QVERIFY(!clash.isStarted());
    QVERIFY(!clash.errorText().isEmpty());
}

void TstSimUdp::unsolicitedGoesToLastPeer()
{
    SimRunner meter;
    UdpClient client;
    QVERIFY(!client.exchange(meter.udpPort(), readRequest(1, 0)).isEmpty());
    meter.call([](MeterSim &sim) { sim.sendUnsolicited("ADC=1023\r\n"); });
    const QList<QNetworkDatagram> lines = client.collect();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().data(), QByteArray("ADC=1023\r\n"));
    QCOMPARE(lines.first().senderPort(), meter.udpPort());
}

void TstSimUdp::longHistoryAnswerArrivesInOrder()
{
    // Pieces due after 2 s and more must still go out in order.
    SimProfile profile = SimProfile::demo();
    QJsonObject history = profile.raw.value(QStringLiteral("history")).toObject();
    history.insert(QStringLiteral("pieceBytes"), 8);
    history.insert(QStringLiteral("pieceDelayMs"), 1);
    profile.raw.insert(QStringLiteral("history"), history);
    SimRunner meter(profile);
    QVERIFY(meter.isStarted());
    const QDate end = meter.state().now().date();
    const QDate start = end.addDays(-11);
    QByteArray request = simFromHex(QStringLiteral("7E 05 02 4E 9F 00 07 91 00 04"));
    for (const QDate &date : { start, end })
        request.append(char(date.year() % 100)).append(char(date.month())).append(char(date.day()));
    simAppendCrcHighFirst(request);
    request.append(char(0x7F));
    QByteArray expected;
    for (const QString &line : simHistoryLines(history, start, end, meter.state().now()))
        expected += simEncodeText(line + QStringLiteral("\r\n"));
    QVERIFY(expected.size() > 2500 * 8);

    UdpClient client;
    client.send(meter.udpPort(), request);
    QByteArray answer;
    for (const QNetworkDatagram &piece : client.collect(2000, 1000))
        answer += piece.data();
    QCOMPARE(answer.size(), expected.size());
    QCOMPARE(answer, expected);
}

void TstSimUdp::searchReplyNamesTheRunningAddress()
{
    // What --address does: the meter runs with another address than its
    // profile's texts were written for.
    SimProfile profile = SimProfile::demo();
    profile.address = 9;
    enableSearchResponder(profile, 0);
    QJsonObject search = profile.raw.value(QStringLiteral("search")).toObject();
    search.insert(QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    profile.raw.insert(QStringLiteral("search"), search);
    SimRunner meter(profile);
    QVERIFY(meter.isStarted());
    quint16 searchPort = 0;
    meter.call([&](MeterSim &sim) { searchPort = sim.responder<SearchResponder>()->searchPort(); });
    UdpClient client;
    client.send(searchPort, SearchResponder::searchDatagram());
    const QList<QNetworkDatagram> replies = client.collect();
    QCOMPARE(replies.size(), 1);
    QCOMPARE(simDecodeText(replies.first().data()), QStringLiteral("VX-200 智能流量积算仪 地址9"));
    QCOMPARE(replies.first().senderPort(), meter.udpPort());
}

void TstSimUdp::chaosWrites_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("answered"); // "-": no answer
    QTest::addColumn<QString>("held");
    const QByteArray ip = "10.0.0.9";
    const QString old = QStringLiteral("192.168.1.120");
    QTest::newRow("honest") << "late=0" << ip << "10.0.0.9"
                            << "10.0.0.9";
    QTest::newRow("refuse") << "refuse" << ip << old << old;
    QTest::newRow("keep another") << "keep-other" << ip << "10.0.0."
                                  << "10.0.0.";
    QTest::newRow("answer, then apply") << "answer-then-apply" << ip << old << "10.0.0.9";
    QTest::newRow("answer without applying") << "answer-without-applying" << ip << "10.0.0.9" << old;
    QTest::newRow("answer lost") << "lose-answer" << ip << "-"
                                 << "10.0.0.9";
    QTest::newRow("request lost") << "lose-request" << ip << "-" << old;
    // GBK's euro sign is no GB2312: the strict meter keeps '?'.
    QTest::newRow("not GB2312") << "late=0" << QByteArray("\x80") << "?"
                                << "?";
    // 7 bytes of name and colon plus 254: kept, answered with 261 & 0xFF as length.
    QTest::newRow("longer than an answer") << "late=0" << QByteArray(254, 'a') << "wrapped" << QString(254, 'a');
}

void TstSimUdp::chaosWrites()
{
    QFETCH(QString, actions);
    QFETCH(QByteArray, value);
    QFETCH(QString, answered);
    QFETCH(QString, held);
    SimRunner meter;
    meter.setChaos(SimChaos::parse(QStringLiteral("1,scale=0,at=write[9]#0:") + actions));
    UdpClient client;
    const QByteArray answer = client.exchange(meter.udpPort(), writeRequest(1, 9, value), 600);
    QCOMPARE(meter.truth().items.at(9).value, held);
    if (answered == QLatin1String("-")) {
        QCOMPARE(answer, QByteArray());
    } else if (answered == QLatin1String("wrapped")) {
        QCOMPARE(answer.size(), 7 + 254 + 5);
        QCOMPARE(int(quint8(answer.at(2))), (7 + 254) & 0xFF);
    } else {
        QCOMPARE(answer, simAddressAnswer(1, simEncodeText(QStringLiteral("IP地址:") + answered)));
    }
    const QList<SimChaosEvent> events = meter.truth().chaos;
    QCOMPARE(events.size(), actions == QLatin1String("late=0") ? 0 : 1);
}

// A copy waits for the next request, a held answer for the second one; what
// follows a released answer keeps 80 ms behind it.
void TstSimUdp::chaosHoldsAnswersForLaterRequests()
{
    SimRunner meter;
    meter.setChaos(SimChaos::parse(QStringLiteral("1,scale=0,at=read[1]#0:copy-next,at=read[2]#0:defer=2")));
    const QList<SimItem> items = SimProfile::demo().items;
    const auto answer = [&items](int index) {
        return simAddressAnswer(1, simEncodeText(items.at(index).text()));
    };
    UdpClient client;
    const auto datagrams = [&client, &meter](int index) {
        client.send(meter.udpPort(), readRequest(1, quint8(index)));
        QElapsedTimer clock;
        clock.start();
        QList<QPair<QByteArray, qint64>> arrived;
        for (const QNetworkDatagram &datagram : client.collect(400, 250))
            arrived << qMakePair(datagram.data(), clock.elapsed());
        return arrived;
    };
    QCOMPARE(datagrams(1).size(), 1);
    const auto second = datagrams(2); // the copy of item 1 only: item 2's answer is held
    QCOMPARE(second.size(), 1);
    QCOMPARE(second.at(0).first, answer(1));
    QCOMPARE(datagrams(3).value(0).first, answer(3));
    const auto fourth = datagrams(4);
    QCOMPARE(fourth.size(), 2);
    QCOMPARE(fourth.at(0).first, answer(2));
    QCOMPARE(fourth.at(1).first, answer(4));
    QCOMPARE(meter.truth().chaos.size(), 2);
}

void TstSimUdp::chaosEpisodeReplaysAndKeepsTheFlash()
{
    SimRunner meter;
    meter.setChaos(SimChaos::parse(QStringLiteral("5,scale=3,lose-request=0,lose-answer=0")));
    UdpClient client;
    const auto episode = [&] {
        meter.startEpisode(5);
        for (int i = 0; i < 40; ++i)
            client.exchange(meter.udpPort(), readRequest(1, quint8(i % 30)), 30, 30);
        QStringList events;
        for (const SimChaosEvent &event : meter.truth().chaos)
            events << QStringLiteral("%1 %2 %3").arg(event.ordinal).arg(event.request, event.actions.join(':'));
        return events;
    };
    const QStringList first = episode();
    QVERIFY(first.size() > 5);
    QCOMPARE(episode(), first);

    // Page 0 never arrives: the flash lacks it whatever came after.
    meter.setChaos(SimChaos::parse(QStringLiteral("1,scale=0,at=page#0:lose-request")));
    meter.startEpisode(1);
    QByteArray image(2500, Qt::Uninitialized);
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 13 + 1);
    QByteArray erase = simFromHex(QStringLiteral("7E 05 02 2F AC 00 07 91 00 04"));
    erase.append(char(image.size() & 0xFF)).append(char(image.size() >> 8)).append(2, char(0));
    client.exchange(meter.udpPort(), simTildeFrame(erase), 300);
    for (int page = 0; page < 3; ++page) {
        QByteArray request = simFromHex(QStringLiteral("7E 05 02 2C 01 04 04 91 04 01"));
        request.append(char(page)).append(image.mid(page * 1024, 1024).leftJustified(1024, char(0xFF)));
        client.exchange(meter.udpPort(), simTildeFrame(request), 300);
    }
    SimTruth truth = meter.truth();
    QVERIFY(!truth.firmware.holdsImage(image));
    QCOMPARE(truth.firmware.missingPages(image), QList<int> { 0 });
    QCOMPARE(truth.firmware.pages.keys(), (QList<int> { 1, 2 }));
    meter.startEpisode(2);
    truth = meter.truth();
    QCOMPARE(truth.firmware.pages.size(), 0);
    QCOMPARE(truth.requests, 0);
}

void TstSimUdp::truthFileFollowsTheMeter()
{
    QProcess sim;
    const QString truthPath = m_dir.filePath(QStringLiteral("truth.json"));
    sim.start(QStringLiteral(VEXA_BIN_DIR "/vexa-meter-sim"),
        { QStringLiteral("--chaos"), QStringLiteral("3,scale=0,at=write#0:lose-answer"), QStringLiteral("--truth"),
            truthPath });
    QVERIFY(sim.waitForReadyRead(10000));
    QByteArray out;
    while (!out.contains("ready") && sim.waitForReadyRead(5000))
        out += sim.readAllStandardOutput();
    out += sim.readAllStandardOutput();
    const quint16 port = quint16(out.split('\n').first().split(' ').value(2).toUInt());
    QVERIFY(port != 0);
    // Without a profile: the demo meter at the assistant's default address,
    // and a line that says what to type into the connection settings.
    QCOMPARE(QString::fromUtf8(sim.readAllStandardError()),
        QStringLiteral("vexa-meter-sim: VX-200 at device address 255 on UDP 127.0.0.1 port %1\n").arg(port));
    UdpClient client;
    QCOMPARE(client.exchange(port, writeRequest(255, 9, "10.1.1.1"), 500), QByteArray());
    QTRY_VERIFY(QFile(truthPath).exists());
    QJsonObject truth;
    QTRY_VERIFY((truth = QJsonDocument::fromJson(m_dir.readFile(QStringLiteral("truth.json"))).object())
                    .value("requests")
                    .toInt()
        == 1);
    QCOMPARE(
        truth.value("items").toArray().at(9).toObject().value("text").toString(), QStringLiteral("IP地址:10.1.1.1"));
    QCOMPARE(truth.value("chaos").toArray().at(0).toObject().value("actions").toArray().at(0).toString(),
        QStringLiteral("lose-answer"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TstSimUdp)
#include "tst_simudp.moc"
