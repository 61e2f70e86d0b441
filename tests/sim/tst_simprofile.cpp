#include "sim/simchaos.h"
#include "sim/simfault.h"
#include "sim/simframe.h"
#include "sim/simprofile.h"

#include <QtTest>

class TstSimProfile : public QObject
{
    Q_OBJECT
private slots:
    void parsesItems();
    void rejectsBadProfiles_data();
    void rejectsBadProfiles();
    void options_data();
    void options();
    void demoProfileIsRealistic();
    void parsesFaults_data();
    void parsesFaults();
    void rejectsBadFaults_data();
    void rejectsBadFaults();
    void appliesFaults();
    void parsesChaos_data();
    void parsesChaos();
    void chaosReplaysFromItsSeed();
    void chaosSpoilsAnswers();
};

void TstSimProfile::parsesItems()
{
    QString error = QStringLiteral("stale");
    const SimProfile profile = SimProfile::fromJson(R"({
        "address": 7, "model": "M2",
        "items": ["时间:12:30", {"text": "编号:A1", "readOnly": true}, "复位",
                  {"text": "校准:x", "command": true}, {"text": "k:v", "refusesWrite": true}],
        "history": {"records": ["a"]}
    })",
        &error);
    QCOMPARE(error, QString());
    QCOMPARE(int(profile.address), 7);
    QCOMPARE(profile.model, QStringLiteral("M2"));
    QCOMPARE(profile.items.size(), 5);
    QCOMPARE(profile.items[0].name, QStringLiteral("时间"));
    QCOMPARE(profile.items[0].value, QStringLiteral("12:30"));
    QCOMPARE(profile.items[0].text(), QStringLiteral("时间:12:30"));
    QVERIFY(profile.items[1].readOnly);
    QVERIFY(profile.items[2].command);
    QCOMPARE(profile.items[2].text(), QStringLiteral("复位"));
    QVERIFY(profile.items[3].command);
    QCOMPARE(profile.items[3].text(), QStringLiteral("校准"));
    QVERIFY(profile.items[4].readOnly);
    QCOMPARE(profile.section(QStringLiteral("history")).value(QStringLiteral("records")).toArray().size(), 1);
    QVERIFY(profile.section(QStringLiteral("debug")).isEmpty());

    const SimProfile defaults = SimProfile::fromJson("{}", &error);
    QCOMPARE(error, QString());
    QCOMPARE(int(defaults.address), 255);
}

void TstSimProfile::rejectsBadProfiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("not json") << QByteArray("{items:");
    QTest::newRow("array") << QByteArray("[]");
    QTest::newRow("address too big") << QByteArray(R"({"address": 256})");
    QTest::newRow("address text") << QByteArray(R"({"address": "1"})");
    QTest::newRow("item number") << QByteArray(R"({"items": [5]})");
    QTest::newRow("item without name") << QByteArray(R"({"items": [":5"]})");
    QTest::newRow("item too long") << QByteArray(R"({"items": ["a:)") + QByteArray(300, 'x') + "\"]}";
}

void TstSimProfile::rejectsBadProfiles()
{
    QFETCH(QByteArray, json);
    QString error;
    SimProfile::fromJson(json, &error);
    QVERIFY(!error.isEmpty());
}

void TstSimProfile::options_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("choices");
    QTest::newRow("list") << QStringLiteral("波特率(9600/19200)") << QStringList { "9600", "19200" };
    QTest::newRow("last group wins") << QStringLiteral("a(b)(c/d)") << QStringList { "c", "d" };
    QTest::newRow("no slash") << QStringLiteral("阻尼时间(秒)") << QStringList();
    QTest::newRow("not at end") << QStringLiteral("x(a/b) y") << QStringList();
}

void TstSimProfile::options()
{
    QFETCH(QString, name);
    QFETCH(QStringList, choices);
    SimItem item;
    item.name = name;
    QCOMPARE(item.options(), choices);
}

void TstSimProfile::demoProfileIsRealistic()
{
    const SimProfile demo = SimProfile::demo();
    QVERIFY(demo.items.size() >= 12);
    int commands = 0;
    int readOnly = 0;
    int withOptions = 0;
    for (const SimItem &item : demo.items) {
        commands += item.command;
        readOnly += item.readOnly;
        withOptions += !item.options().isEmpty();
        QVERIFY2(simEncodeText(item.text()).size() <= 255, qPrintable(item.text()));
    }
    QVERIFY(commands >= 1);
    QVERIFY(readOnly >= 1);
    QVERIFY(withOptions >= 2);
    QCOMPARE(demo.items.first().name, QStringLiteral("设备名称"));
    // The file on disk and the compiled-in copy are the same.
    QFile file(QStringLiteral(VEXA_SOURCE_DIR "/sim/profiles/demo.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), SimProfile::demoJson());

    // vexa-meter-sim's own demo answers at the assistant's default address,
    // and its 设备地址 item says so; everything else is the demo.
    const SimProfile program = SimProfile::programDemo();
    QCOMPARE(program.address, quint8(255));
    QCOMPARE(program.items.size(), demo.items.size());
    for (int i = 0; i < demo.items.size(); ++i) {
        const bool addressItem = demo.items.at(i).name == QStringLiteral("设备地址");
        QCOMPARE(program.items.at(i).value, addressItem ? QStringLiteral("255") : demo.items.at(i).value);
    }
    SimProfile moved = demo;
    moved.setAddress(7);
    QCOMPARE(moved.address, quint8(7));
    QCOMPARE(moved.items.at(4).text(), QStringLiteral("设备地址:7"));
}

void TstSimProfile::parsesFaults_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("match");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("times");
    QTest::newRow("plain") << "silent" << int(SimFault::Silent) << int(SimFault::AnyRequest) << -1 << 0 << 1;
    QTest::newRow("read 3") << "silent,match=read,index=3" << int(SimFault::Silent) << int(SimFault::ItemRead) << 3 << 0
                            << 1;
    QTest::newRow("always") << "bad-crc,after=2,times=all" << int(SimFault::BadCrc) << int(SimFault::AnyRequest) << -1
                            << 2 << -1;
    QTest::newRow("spaces") << " split , parts=3 , delay=20 " << int(SimFault::Split) << int(SimFault::AnyRequest) << -1
                            << 0 << 1;
}

void TstSimProfile::parsesFaults()
{
    QFETCH(QString, text);
    QString error = QStringLiteral("stale");
    const SimFault fault = SimFault::parse(text, &error);
    QCOMPARE(error, QString());
    QTEST(int(fault.kind), "kind");
    QTEST(int(fault.match), "match");
    QTEST(fault.index, "index");
    QTEST(fault.after, "after");
    QTEST(fault.times, "times");
    // The text form reads back as the same rule.
    const SimFault again = SimFault::parse(fault.toString(), &error);
    QCOMPARE(error, QString());
    QCOMPARE(again.toString(), fault.toString());
}

void TstSimProfile::rejectsBadFaults_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown kind") << "explode";
    QTest::newRow("no value") << "silent,index";
    QTest::newRow("unknown key") << "silent,colour=red";
    QTest::newRow("bad number") << "delay,delay=soon";
    QTest::newRow("negative") << "delay,delay=-5";
    QTest::newRow("bad match") << "silent,match=sometimes";
}

void TstSimProfile::rejectsBadFaults()
{
    QFETCH(QString, text);
    QString error;
    SimFault::parse(text, &error);
    QVERIFY(!error.isEmpty());
}

void TstSimProfile::appliesFaults()
{
    const QByteArray answer = simAddressAnswer(1, "OK");
    const QList<SimOutput> outputs { SimOutput { 0, answer, false } };
    SimFault fault;

    fault.kind = SimFault::OtherAddress;
    QByteArray spoilt = simApplyFault(fault, outputs, 1).first().bytes;
    QCOMPARE(spoilt, simAddressAnswer(0, "OK"));

    fault.kind = SimFault::WrongLength;
    spoilt = simApplyFault(fault, outputs, 1).first().bytes;
    QCOMPARE(int(spoilt.at(2)), 3);
    QCOMPARE(spoilt.size(), answer.size());
    QCOMPARE(simCrc16(spoilt.left(spoilt.size() - 2)), quint16(quint8(spoilt.at(5)) | quint8(spoilt.at(6)) << 8));

    fault.kind = SimFault::BadCrc;
    spoilt = simApplyFault(fault, outputs, 1).first().bytes;
    QCOMPARE(spoilt.left(5), answer.left(5));
    QVERIFY(spoilt != answer);

    fault.kind = SimFault::Split;
    fault.parts = 3;
    fault.delayMs = 40;
    const QList<SimOutput> pieces = simApplyFault(fault, outputs, 1);
    QCOMPARE(pieces.size(), 3);
    QCOMPARE(pieces[0].bytes + pieces[1].bytes + pieces[2].bytes, answer);
    QCOMPARE(pieces[2].delayMs, 80);

    fault.kind = SimFault::Truncate;
    fault.value = 4;
    QCOMPARE(simApplyFault(fault, outputs, 1).first().bytes, answer.left(4));

    fault.kind = SimFault::Silent;
    QVERIFY(simApplyFault(fault, outputs, 1).isEmpty());
}

void TstSimProfile::parsesChaos_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("seed") << "42" << true << "42";
    QTest::newRow("hex seed") << "0x10" << true << "16";
    QTest::newRow("rates") << "5,late=0.5,lie=0" << true << "5,late=0.5,lie=0";
    QTest::newRow("scale") << "5,scale=0" << true
                           << "5,late=0,copy=0,defer=0,fragment=0,noise=0,lose-answer=0,lose-request=0,bad-crc=0,"
                              "refuse=0,lie=0";
    QTest::newRow("script") << "9,at=erase#0:copy-next,at=page[0]#1:lose-request:late=20" << true
                            << "9,at=erase#0:copy-next=1,at=page[0]#1:lose-request:late=20";
    QTest::newRow("meter model") << "1,long=refuse,text=codec" << true << "1,long=refuse,text=codec";
    QTest::newRow("no seed") << "late=0.1" << false << "";
    QTest::newRow("unknown key") << "1,chaos=max" << false << "";
    QTest::newRow("negative rate") << "1,late=-1" << false << "";
    QTest::newRow("bad step") << "1,at=erase" << false << "";
    QTest::newRow("unknown action") << "1,at=write#0:explode" << false << "";
    QTest::newRow("one fragment") << "1,at=read#0:fragments=1" << false << "";
}

void TstSimProfile::parsesChaos()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QString error;
    const SimChaos chaos = SimChaos::parse(text, &error);
    QCOMPARE(error.isEmpty(), valid);
    if (!valid)
        return;
    QTEST(chaos.toString(), "canonical");
    QCOMPARE(SimChaos::parse(chaos.toString(), &error).toString(), chaos.toString());
}

// The draw for a request depends on the seed and its number alone.
void TstSimProfile::chaosReplaysFromItsSeed()
{
    QList<SimRequest> requests;
    for (int i = 0; i < 400; ++i) {
        SimRequest request;
        request.function = i % 3 == 0 ? 0x0F : 0x03;
        request.table = 0x4B;
        request.index = quint8(i % 29);
        requests << request;
    }
    const auto episode = [&requests](quint64 seed) {
        SimChaos chaos = SimChaos::parse(QStringLiteral("1,scale=4")); // about half the answers spoilt
        chaos.restart(seed);
        QStringList plans;
        for (const SimRequest &request : requests)
            plans << chaos.decide(request).describe().join(QLatin1Char(':'));
        return plans;
    };
    const QStringList first = episode(77);
    QCOMPARE(episode(77), first);
    QVERIFY(episode(78) != first);
    const QString all = first.join(QLatin1Char(' '));
    for (const char *action : { "late=", "copy=", "copy-next=", "defer=", "fragments=", "noise-", "lose-answer",
             "lose-request", "bad-crc", "refuse", "keep-other", "answer-then-apply", "answer-without-applying" })
        QVERIFY2(all.contains(QLatin1String(action)), action);

    // A scripted step replaces the draw for the request it names only.
    SimChaos scripted = SimChaos::parse(QStringLiteral("3,scale=0,at=read[4]#1:defer=2"));
    QStringList plans;
    for (const SimRequest &request : requests.mid(0, 70))
        plans << scripted.decide(request).describe().join(QLatin1Char(':'));
    QCOMPARE(plans.count(QString()), 69);
    QCOMPARE(plans.indexOf(QStringLiteral("defer=2")), 62); // the second read of item 4
}

void TstSimProfile::chaosSpoilsAnswers()
{
    const QByteArray answer = simAddressAnswer(1, "OK");
    const QList<SimOutput> outputs { SimOutput { 0, answer, false } };
    SimChaosPlan plan;
    QCOMPARE(SimChaos::spoil(plan, outputs).first().bytes, answer);

    plan.noiseBefore = "\x01\x02";
    plan.noiseAfter = "\x03";
    plan.lateMs = 500;
    plan.fragments = 3;
    plan.fragmentGapMs = 40;
    plan.copyDelayMs = 1000;
    const QList<SimOutput> spoilt = SimChaos::spoil(plan, outputs);
    QCOMPARE(spoilt.size(), 6);
    QByteArray first;
    for (int i = 0; i < 3; ++i) {
        first += spoilt.at(i).bytes;
        QCOMPARE(spoilt.at(i).delayMs, 500 + 40 * i);
        QCOMPARE(spoilt.at(i + 3).bytes, spoilt.at(i).bytes);
        QCOMPARE(spoilt.at(i + 3).delayMs, 1500 + 40 * i);
    }
    QCOMPARE(first, QByteArray("\x01\x02") + answer + "\x03");

    SimChaosPlan crc;
    crc.badCrc = true;
    const QByteArray broken = SimChaos::spoil(crc, outputs).first().bytes;
    QCOMPARE(broken.left(broken.size() - 1), answer.left(answer.size() - 1));
    QVERIFY(broken != answer);

    SimChaosPlan lost;
    lost.loseAnswer = true;
    lost.copyDelayMs = 0;
    QVERIFY(SimChaos::spoil(lost, outputs).isEmpty());
}

QTEST_GUILESS_MAIN(TstSimProfile)
#include "tst_simprofile.moc"
