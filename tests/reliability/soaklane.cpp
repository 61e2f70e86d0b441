#include "tests/reliability/soaklane.h"

#include "sim/simprofile.h"
#include "sim/simrunner.h"
#include "tests/reliability/processprobe.h"
#include "tests/reliability/soakbounds.h"
#include "tests/reliability/soakprogram.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

// Episodes before the process's memory counts as warmed up.
constexpr int kWarmUpEpisodes = 3;
// Growth of this process (meter, sessions, workers) allowed after warming up.
constexpr qint64 kLiveGrowthBoundKb = 64 * 1024;

} // namespace

void SoakLaneReport::add(const QString &episode, const SoakViolation &violation)
{
    violations << episode + QStringLiteral(" | ") + violation.text();
    ++byKind[violation.kind];
    std::fprintf(stderr, "VIOLATION %s | %s\n", qPrintable(episode), qPrintable(violation.text()));
    std::fflush(stderr);
}

QJsonObject SoakLaneReport::toJson() const
{
    QJsonObject kinds;
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
        kinds.insert(it.key(), it.value());
    return QJsonObject { { QStringLiteral("line"), line }, { QStringLiteral("runSeed"), QString::number(runSeed) },
        { QStringLiteral("chaosKeys"), chaosKeys }, { QStringLiteral("episodes"), episodes },
        { QStringLiteral("operations"), operations }, { QStringLiteral("elapsedMs"), double(elapsedMs) },
        { QStringLiteral("violations"), QJsonArray::fromStringList(violations) }, { QStringLiteral("byKind"), kinds },
        { QStringLiteral("cliRssMinKb"), double(cliRssMinKb) }, { QStringLiteral("cliRssMaxKb"), double(cliRssMaxKb) },
        { QStringLiteral("liveRssStartKb"), double(liveRssStartKb) },
        { QStringLiteral("liveRssMaxKb"), double(liveRssMaxKb) } };
}

SoakLaneReport SoakLaneReport::fromJson(const QJsonObject &object)
{
    SoakLaneReport report;
    report.line = object.value(QStringLiteral("line")).toString();
    report.runSeed = object.value(QStringLiteral("runSeed")).toString().toULongLong();
    report.chaosKeys = object.value(QStringLiteral("chaosKeys")).toString();
    report.episodes = object.value(QStringLiteral("episodes")).toInt();
    report.operations = object.value(QStringLiteral("operations")).toInt();
    report.elapsedMs = qint64(object.value(QStringLiteral("elapsedMs")).toDouble());
    for (const QJsonValue &value : object.value(QStringLiteral("violations")).toArray())
        report.violations << value.toString();
    const QJsonObject kinds = object.value(QStringLiteral("byKind")).toObject();
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it)
        report.byKind.insert(it.key(), it.value().toInt());
    report.cliRssMinKb = qint64(object.value(QStringLiteral("cliRssMinKb")).toDouble(-1));
    report.cliRssMaxKb = qint64(object.value(QStringLiteral("cliRssMaxKb")).toDouble(-1));
    report.liveRssStartKb = qint64(object.value(QStringLiteral("liveRssStartKb")).toDouble(-1));
    report.liveRssMaxKb = qint64(object.value(QStringLiteral("liveRssMaxKb")).toDouble(-1));
    return report;
}

QList<SoakViolation> runSoakEpisode(
    SimRunner &meter, SoakProgram &program, const SoakEpisode &episode, SoakLaneReport *report)
{
    QString error;
    meter.setChaos(SimChaos::parse(episode.chaos, &error));
    Q_ASSERT_X(error.isEmpty(), "runSoakEpisode", qPrintable(error));
    meter.startEpisode(episode.seed);
    const int items = SimProfile::demo().items.size();
    QList<SoakViolation> found;
    for (const SoakOperation &operation : episode.operations) {
        SoakEvidence evidence;
        evidence.operation = operation;
        evidence.before = meter.truth();
        evidence.boundMs = soakBoundMs(operation, items);
        evidence.said = program.run(operation, evidence.boundMs);
        QThread::msleep(30); // a request still on its way
        evidence.after = meter.truth();
        evidence.sent = meter.receivedRequests().mid(evidence.before.requests);
        if (operation.readsHistory())
            evidence.historyTruth = soakHistoryTruth();
        const QList<SoakViolation> violations = judgeSoakOperation(evidence);
        found << violations;
        if (!report)
            continue;
        ++report->operations;
        for (const SoakViolation &violation : violations)
            report->add(episode.text(), violation);
        const qint64 peak = evidence.said.peakRssKb;
        if (peak > 0) {
            report->cliRssMinKb = report->cliRssMinKb < 0 ? peak : qMin(report->cliRssMinKb, peak);
            report->cliRssMaxKb = qMax(report->cliRssMaxKb, peak);
        }
    }
    return found;
}

SoakLaneReport runSoakLane(bool udp, quint64 runSeed, qint64 budgetMs, const QString &chaosKeys)
{
    SoakLaneReport report;
    report.line = udp ? QStringLiteral("udp") : QStringLiteral("pty");
    report.runSeed = runSeed;
    report.chaosKeys = chaosKeys;
    QTemporaryDir folder;
    SimTransportOptions options;
    options.udp = udp;
    options.pty = !udp;
    SimRunner meter(SimProfile::demo(), options);
    if (!meter.isStarted()) {
        report.add(QStringLiteral("lane"),
            SoakViolation { QStringLiteral("exit"), QStringLiteral("meter"), meter.errorText(), QStringLiteral("-") });
        return report;
    }
    SoakProgram program(meter, udp, folder.path());
    QElapsedTimer clock;
    clock.start();
    while (report.episodes == 0 || clock.elapsed() < budgetMs) {
        const SoakEpisode episode = SoakEpisode::random(SoakEpisode::seedOf(runSeed, report.episodes), udp, chaosKeys);
        runSoakEpisode(meter, program, episode, &report);
        ++report.episodes;
        const qint64 live = liveRssKb();
        if (report.episodes == kWarmUpEpisodes)
            report.liveRssStartKb = live;
        report.liveRssMaxKb = qMax(report.liveRssMaxKb, live);
    }
    report.elapsedMs = clock.elapsed();
    // The exact peak of the largest child; the samples may miss a short one's last moments.
    report.cliRssMaxKb = qMax(report.cliRssMaxKb, childrenPeakRssKb());
    const QString lane = QStringLiteral("lane %1 seed %2").arg(report.line).arg(runSeed);
    if (kMemoryBoundsApply && report.cliRssMaxKb > kCliPeakRssBoundKb)
        report.add(lane,
            SoakViolation { QStringLiteral("memory"), QStringLiteral("vexa-cli children"),
                QStringLiteral("peak RSS %1 MiB").arg(report.cliRssMaxKb / 1024),
                QStringLiteral("bound %1 MiB").arg(kCliPeakRssBoundKb / 1024) });
    if (kMemoryBoundsApply && report.liveRssStartKb > 0
        && report.liveRssMaxKb - report.liveRssStartKb > kLiveGrowthBoundKb) {
        report.add(lane,
            SoakViolation { QStringLiteral("memory"), QStringLiteral("in-process sessions"),
                QStringLiteral("RSS %1 → %2 MiB").arg(report.liveRssStartKb / 1024).arg(report.liveRssMaxKb / 1024),
                QStringLiteral("growth bound %1 MiB").arg(kLiveGrowthBoundKb / 1024) });
    }
    return report;
}

QString soakSummary(const QList<SoakLaneReport> &lanes, qint64 wallMs)
{
    int operations = 0;
    int violations = 0;
    QMap<QString, int> byKind;
    QStringList seeds;
    qint64 cliMin = -1;
    qint64 cliMax = -1;
    QStringList live;
    for (const SoakLaneReport &lane : lanes) {
        operations += lane.operations;
        violations += lane.violations.size();
        for (auto it = lane.byKind.cbegin(); it != lane.byKind.cend(); ++it)
            byKind[it.key()] += it.value();
        seeds << QStringLiteral("%1 %2 (%3 episodes in %4 s%5)")
                     .arg(lane.line)
                     .arg(lane.runSeed)
                     .arg(lane.episodes)
                     .arg(lane.elapsedMs / 1000)
                     .arg(lane.chaosKeys.isEmpty() ? QString() : QStringLiteral(", chaos keys ") + lane.chaosKeys);
        if (lane.cliRssMinKb > 0)
            cliMin = cliMin < 0 ? lane.cliRssMinKb : qMin(cliMin, lane.cliRssMinKb);
        cliMax = qMax(cliMax, lane.cliRssMaxKb);
        live << QStringLiteral("%1–%2").arg(lane.liveRssStartKb / 1024).arg(lane.liveRssMaxKb / 1024);
    }
    QStringList kinds;
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
        kinds << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return QStringLiteral("soak: %1 operations in %2 s, %3 violations%4\n"
                          "  run seeds: %5\n"
                          "  vexa-cli peak RSS %6–%7 MiB (sampled every 20 ms; the top exact); this process "
                          "(sessions, meter) %8 MiB after warming up\n")
        .arg(operations)
        .arg(wallMs / 1000)
        .arg(violations)
        .arg(kinds.isEmpty() ? QString() : QStringLiteral(" (") + kinds.join(QStringLiteral(", ")) + QLatin1Char(')'))
        .arg(seeds.join(QStringLiteral("; ")))
        .arg(cliMin / 1024)
        .arg(cliMax / 1024)
        .arg(live.join(QStringLiteral(", ")));
}
