// The program against a chaotic meter that keeps its own truth: every
// operation's words are held against what the meter really holds.
//
// shortSoak: seeded lanes over UDP and a pseudo-terminal, each in a process
// of its own (this executable with VEXA_SOAK_LANE set), side by side.
// fixedPlans: scripted episodes, one per way the program was found telling
// something false; each replays exactly.
// scripts/soak runs long soaks (VEXA_SOAK_MINUTES) and replays one episode
// (VEXA_SOAK_EPISODE=SEED:udp|pty[:CHAOS KEYS]).
#include "sim/simchaos.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/reliability/soakbounds.h"
#include "tests/reliability/soaklane.h"
#include "tests/reliability/soakprogram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <random>

Q_DECLARE_METATYPE(SoakEpisode)

namespace {

struct LanePlan
{
    bool udp = true;
    quint64 seed = 0;
    qint64 budgetMs = 0;
    QString chaosKeys;
};

// Each lane in a child process; a crash or hang shows as that lane's failure.
QList<SoakLaneReport> runLanes(const QList<LanePlan> &plans, QStringList *failures)
{
    QList<QProcess *> processes;
    for (const LanePlan &plan : plans) {
        auto *process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VEXA_SOAK_LANE"),
            QStringLiteral("%1:%2:%3:%4")
                .arg(plan.udp ? QStringLiteral("udp") : QStringLiteral("pty"))
                .arg(plan.seed)
                .arg(plan.budgetMs)
                .arg(plan.chaosKeys));
        environment.remove(QStringLiteral("VEXA_SOAK_MINUTES"));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), QStringList());
        processes << process;
    }
    QList<SoakLaneReport> reports;
    for (int i = 0; i < processes.size(); ++i) {
        QProcess *process = processes.at(i);
        // The budget, the longest operation that may still be running, and start-up.
        if (!process->waitForFinished(int(plans.at(i).budgetMs + 15 * 60 * 1000))) {
            process->kill();
            process->waitForFinished(5000);
        }
        bool reported = false;
        for (const QByteArray &line : process->readAllStandardOutput().split('\n')) {
            if (line.startsWith("LANE ")) {
                reports << SoakLaneReport::fromJson(QJsonDocument::fromJson(line.mid(5)).object());
                reported = true;
            }
        }
        if (!reported)
            *failures << QStringLiteral("lane %1 seed %2: no report (exit %3, %4)")
                             .arg(plans.at(i).udp ? QStringLiteral("udp") : QStringLiteral("pty"))
                             .arg(plans.at(i).seed)
                             .arg(process->exitCode())
                             .arg(process->exitStatus() == QProcess::CrashExit ? QStringLiteral("crashed")
                                                                               : QStringLiteral("exited"));
        delete process;
    }
    return reports;
}

SoakOperation operation(SoakOperation::Kind kind, const QList<SoakWrite> &writes = {}, int imageBytes = 0)
{
    SoakOperation made;
    made.kind = kind;
    made.writes = writes;
    made.imageBytes = imageBytes;
    return made;
}

SoakEpisode plan(bool udp, const QString &chaos, const QList<SoakOperation> &operations)
{
    SoakEpisode episode;
    episode.seed = chaos.section(QLatin1Char(','), 0, 0).toULongLong();
    episode.udp = udp;
    episode.chaos = chaos;
    episode.operations = operations;
    return episode;
}

// One byte more than "name:value" may have in an answer.
QString tooLongFor(int index)
{
    const SimItem item = SimProfile::demo().items.at(index);
    return QString(256 - simEncodeText(item.name + QLatin1Char(':')).size(), QLatin1Char('7'));
}

int mainLongSoak()
{
    const int minutes = qMax(1, qEnvironmentVariableIntValue("VEXA_SOAK_MINUTES"));
    bool seeded = false;
    quint64 seed = qEnvironmentVariable("VEXA_SOAK_SEED").toULongLong(&seeded);
    if (!seeded)
        seed = std::random_device()() % 1000000;
    const QString keys = qEnvironmentVariable("VEXA_SOAK_CHAOS");
    QList<LanePlan> plans;
    for (int lane = 0; lane < 4; ++lane)
        plans << LanePlan { lane % 2 == 0, seed + quint64(lane), qint64(minutes) * 60 * 1000, keys };
    std::printf("soak: %d minutes, 4 lanes (2 UDP, 2 pseudo-terminal), run seeds %llu..%llu\n", minutes,
        static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed + 3));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    QStringList failures;
    const QList<SoakLaneReport> reports = runLanes(plans, &failures);
    std::printf("%s", qPrintable(soakSummary(reports, clock.elapsed())));
    for (const SoakLaneReport &lane : reports) {
        for (const QString &violation : lane.violations)
            std::printf("  %s\n", qPrintable(violation));
    }
    for (const QString &failure : failures)
        std::printf("  %s\n", qPrintable(failure));
    int violations = failures.size();
    for (const SoakLaneReport &lane : reports)
        violations += lane.violations.size();
    return violations == 0 ? 0 : 1;
}

int mainLane(const QString &plan)
{
    const QStringList parts = plan.split(QLatin1Char(':'));
    const SoakLaneReport report = runSoakLane(parts.value(0) == QLatin1String("udp"), parts.value(1).toULongLong(),
        parts.value(2).toLongLong(), parts.mid(3).join(QLatin1Char(':')));
    std::printf("LANE %s\n", QJsonDocument(report.toJson()).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    return 0;
}

int mainEpisode(const QString &plan)
{
    const QStringList parts = plan.split(QLatin1Char(':'));
    const bool udp = parts.value(1) != QLatin1String("pty");
    const SoakEpisode episode
        = SoakEpisode::random(parts.value(0).toULongLong(), udp, parts.mid(2).join(QLatin1Char(':')));
    QTemporaryDir folder;
    SimTransportOptions options;
    options.udp = udp;
    options.pty = !udp;
    SimRunner meter(SimProfile::demo(), options);
    meter.setVerbose(true);
    SoakProgram program(meter, udp, folder.path());
    std::printf("%s\n", qPrintable(episode.text()));
    const QList<SoakViolation> violations = runSoakEpisode(meter, program, episode);
    for (const SoakViolation &violation : violations)
        std::printf("  %s\n", qPrintable(violation.text()));
    std::printf("%d violation(s)\n", int(violations.size()));
    return violations.isEmpty() ? 0 : 1;
}

} // namespace

class TstSoak : public QObject
{
    Q_OBJECT

private slots:
    void boundsFollowTheProgramsTimeOuts();
    void shortSoak();
    void fixedPlans_data();
    void fixedPlans();
};

void TstSoak::boundsFollowTheProgramsTimeOuts()
{
    // 3 s first read, 10 s repeat, 1 s late window, two settles: 15 s a read.
    QCOMPARE(soakBoundMs(operation(SoakOperation::Clock), 29), 10500);
    QCOMPARE(soakBoundMs(operation(SoakOperation::Write, { {} }), 29), 25500);
    // After the update the meter is asked again: three times an identification
    // (3 s) and two finish requests (0.3 s), each with its settle.
    QCOMPARE(soakBoundMs(operation(SoakOperation::CliFlash, {}, 2600), 29), 5000 + 8 * 10500 + 1000 + 3 * 5100);

    // The chaos meter's slowest history answer (its 256-byte pieces each cut
    // in four with the longest gaps, late and copied at the latest) ends
    // within the bound, with the reader's 1 s of quiet after its last byte.
    const QByteArray answer = simEncodeText(soakHistoryTruth());
    QList<SimOutput> pieces;
    for (int at = 0; at < answer.size(); at += 256)
        pieces << SimOutput { int(pieces.size()) * 10, answer.mid(at, 256), false };
    SimChaosPlan slowest;
    slowest.lateMs = SimChaos::kMaxLateMs;
    slowest.fragments = SimChaos::kMaxFragments;
    slowest.fragmentGapMs = SimChaos::kMaxFragmentGapMs;
    slowest.copyDelayMs = SimChaos::kMaxCopyDelayMs;
    int lastByteMs = 0;
    for (const SimOutput &piece : SimChaos::spoil(slowest, pieces))
        lastByteMs = qMax(lastByteMs, piece.delayMs);
    const qint64 bound = soakBoundMs(operation(SoakOperation::History), 29);
    QVERIFY2(bound >= lastByteMs + 1000,
        qPrintable(QStringLiteral("last byte at %1 ms, bound %2 ms").arg(lastByteMs).arg(bound)));
    qInfo("%s", qPrintable(soakBoundsTable(29)));
}

void TstSoak::shortSoak()
{
    QList<LanePlan> plans;
    for (const quint64 seed : { 11, 12 })
        plans << LanePlan { true, seed, 40000, QString() };
    for (const quint64 seed : { 21, 22 })
        plans << LanePlan { false, seed, 40000, QString() };
    QElapsedTimer clock;
    clock.start();
    QStringList failures;
    const QList<SoakLaneReport> reports = runLanes(plans, &failures);
    qInfo("%s", qPrintable(soakSummary(reports, clock.elapsed())));
    for (const SoakLaneReport &lane : reports)
        failures << lane.violations;
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

void TstSoak::fixedPlans_data()
{
    QTest::addColumn<SoakEpisode>("episode");
    using K = SoakOperation::Kind;
    const QString pageZeroLost = QStringLiteral("1,scale=0,at=erase#0:copy-next,at=page#0:lose-request");
    QTest::newRow("1 flash: erase answer copied into page 0, page 0 lost (cli, udp)")
        << plan(true, pageZeroLost, { operation(K::CliFlash, {}, 2600) });
    QTest::newRow("1 update: the same, one page (window worker, pty)")
        << plan(false, pageZeroLost, { operation(K::Update, {}, 1000) });
    const QString readCopied = QStringLiteral("2,scale=0,at=read[5]#0:copy-next");
    QTest::newRow("2 set: a copy of the pre-read answers the write (cli, udp)")
        << plan(true, readCopied, { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("2 set: the same (cli, pty)")
        << plan(false, readCopied, { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    const QString endCopied = QStringLiteral("3,scale=0,at=read[29]#0:copy-next");
    QTest::newRow("3 clock: an earlier run's answer in its exchange (window, pty)")
        << plan(false, endCopied, { operation(K::List), operation(K::Clock) });
    QTest::newRow("3 clock: the same (cli items, then clock, pty)")
        << plan(false, endCopied, { operation(K::CliItems), operation(K::CliClock) });
    const QString previousCopied = QStringLiteral("4,scale=0,at=read[1]#0:copy-next");
    QTest::newRow("4 set: the pre-read takes the previous item's copy (cli, udp)")
        << plan(true, previousCopied, { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("4 set: the same (cli, pty)")
        << plan(false, previousCopied, { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("5 set: a later read fails after a write (cli, udp)")
        << plan(true, QStringLiteral("5,scale=0,at=read[9]#0:lose-answer,at=read[9]#1:lose-answer"),
               { operation(K::CliSet, { { 5, QStringLiteral("19200") }, { 9, QStringLiteral("10.0.0.9") } }) });
    const QString heldPastSettle = QStringLiteral("6,scale=0,at=read[3]#0:defer=3");
    QTest::newRow("6 list: an answer held two exchanges shifts a row (window, udp)")
        << plan(true, heldPastSettle, { operation(K::List) });
    QTest::newRow("6 apply: the shifted row refuses a matching file (cli, pty)")
        << plan(false, heldPastSettle, { operation(K::CliApply, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("7 set: the write lands, its answer is lost (cli, udp)")
        << plan(true, QStringLiteral("7,scale=0,at=write[5]#0:lose-answer"),
               { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("7 set: the write lands, its answer's CRC is broken (cli, pty)")
        << plan(false, QStringLiteral("7,scale=0,at=write[5]#0:bad-crc"),
               { operation(K::CliSet, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("7 write: the same (window, udp)") << plan(true, QStringLiteral("7,scale=0,at=write[5]#0:bad-crc"),
        { operation(K::Write, { { 5, QStringLiteral("19200") } }) });
    QTest::newRow("7 clock: set, the answer lost (cli, udp)")
        << plan(true, QStringLiteral("7,scale=0,at=clock#0:lose-answer"), { operation(K::CliClock) });
    QTest::newRow("8 set: a value its answer cannot carry (cli, udp)")
        << plan(true, QStringLiteral("8,scale=0"), { operation(K::CliSet, { { 22, tooLongFor(22) } }) });
    QTest::newRow("8 write: the same (window, pty)")
        << plan(false, QStringLiteral("8,scale=0"), { operation(K::Write, { { 22, tooLongFor(22) } }) });
    QTest::newRow("8 set: a value outside GB2312 (cli, pty)")
        << plan(false, QStringLiteral("8,scale=0"), { operation(K::CliSet, { { 9, QStringLiteral("€5") } }) });
    // Found by a one-hour soak after the eight above were mended.
    const QString foreignPreRead = QStringLiteral("9,scale=0,at=read[0]#0:defer=3,at=read[1]#0:copy-next=2");
    QTest::newRow("9 set: the pre-read takes an earlier item's held answer (cli, pty)")
        << plan(false, foreignPreRead, { operation(K::CliSet, { { 14, QStringLiteral("t") } }) });
    QTest::newRow("9 set: the same (cli, udp)")
        << plan(true, foreignPreRead, { operation(K::CliSet, { { 14, QStringLiteral("t") } }) });
    const QString cutIdentification = QStringLiteral("10,scale=0,at=identify#0:fragments=3/630");
    QTest::newRow("10 flash: the identification in pieces past the quiet gap (cli, pty)")
        << plan(false, cutIdentification, { operation(K::CliFlash, {}, 2017) });
    QTest::newRow("10 update: the same, cut in two (window worker, pty)")
        << plan(false, QStringLiteral("10,scale=0,at=identify#0:fragments=2/650"), { operation(K::Update, {}, 1000) });
    QTest::newRow("10 flash: both identifications cut: no identification, a link error (cli, pty)")
        << plan(false, QStringLiteral("10,scale=0,at=identify#0:fragments=2/650,at=identify#1:fragments=2/650"),
               { operation(K::CliFlash, {}, 1500) });
    QTest::newRow("11 list: copies and a late answer in later rows (window, udp)") << plan(true,
        QStringLiteral("11,scale=0,at=read[6]#0:late=4184,at=read[8]#0:copy-next=2,at=read[10]#1:late=339"),
        { operation(K::List) });
}

void TstSoak::fixedPlans()
{
    QFETCH(SoakEpisode, episode);
    QTemporaryDir folder;
    SimTransportOptions options;
    options.udp = episode.udp;
    options.pty = !episode.udp;
    SimRunner meter(SimProfile::demo(), options);
    QVERIFY(meter.isStarted());
    SoakProgram program(meter, episode.udp, folder.path());
    QStringList found;
    for (const SoakViolation &violation : runSoakEpisode(meter, program, episode))
        found << violation.text();
    QVERIFY2(found.isEmpty(), qPrintable(episode.text() + QLatin1Char('\n') + found.join(QLatin1Char('\n'))));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString lane = qEnvironmentVariable("VEXA_SOAK_LANE");
    if (!lane.isEmpty())
        return mainLane(lane);
    const QString episode = qEnvironmentVariable("VEXA_SOAK_EPISODE");
    if (!episode.isEmpty())
        return mainEpisode(episode);
    if (qEnvironmentVariableIsSet("VEXA_SOAK_MINUTES"))
        return mainLongSoak();
    TstSoak test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soak.moc"
