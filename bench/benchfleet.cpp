#include "bench/benchfleet.h"

#include "bench/benchtable.h"
#include "cli/clifleet.h"
#include "items/journal.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <vector>

namespace {

constexpr int kItems = 32;

SimProfile fleetProfile()
{
    QJsonArray items;
    for (int i = 0; i < kItems; ++i)
        items.append(QStringLiteral("参数%1:%2").arg(i, 3, 10, QLatin1Char('0')).arg(1000 + i * 7));
    QJsonObject root { { "address", 1 }, { "model", "VX-200" }, { "items", items } };
    return SimProfile::fromJson(QJsonDocument(root).toJson());
}

// Microseconds for one read of every meter, negative when a meter failed.
double readFleet(const QVector<CliTarget> &targets, int jobs)
{
    CliOptions options;
    options.command = QStringLiteral("items");
    options.fleet = true;
    options.json = true; // no files: the link and the session are timed
    Journal journal;
    QElapsedTimer timer;
    timer.start();
    const QVector<MeterReport> reports = runFleet(targets, options, jobs, journal, nullptr);
    const double micros = timer.nsecsElapsed() / 1000.0;
    for (const MeterReport &report : reports) {
        if (report.exit != CliOk || report.json.value("items").toArray().size() != kItems)
            return -1;
    }
    return micros;
}

// The bound of a fleet served all at once: each meter's own time (its
// fastest of two reads alone), the slowest of them.
double slowestAlone(const QVector<CliTarget> &targets)
{
    double slowest = 0;
    for (int i = 0; i < targets.size(); ++i) {
        const double first = readFleet(targets.mid(i, 1), 1);
        const double second = readFleet(targets.mid(i, 1), 1);
        if (first < 0 || second < 0)
            return -1;
        slowest = qMax(slowest, qMin(first, second));
    }
    return slowest;
}

} // namespace

void benchFleetRead(BenchTable &table)
{
    // Meters that take 20 ms per answer, as a plant's do over a LAN; every
    // meter is served at once, so the bound is the slowest meter alone.
    constexpr int kAnswerDelayMs = 20;
    std::vector<std::unique_ptr<SimRunner>> meters;
    QVector<CliTarget> targets;
    for (int i = 0; i < 32; ++i) {
        meters.emplace_back(new SimRunner(fleetProfile()));
        meters.back()->addFault(QStringLiteral("delay,match=read,times=all,delay=%1").arg(kAnswerDelayMs));
        CliTarget target;
        target.name = QStringLiteral("m%1").arg(i);
        target.link = meterLink(*meters.back(), true);
        targets << target;
    }
    const QString transport = QStringLiteral("UDP loopback, %1 ms per answer").arg(kAnswerDelayMs);
    for (int count : { 1, 8, 32 }) {
        const double slowest = slowestAlone(targets.mid(0, count));
        QVector<int> parallel { count };
        if (count > 8)
            parallel << 8; // the panel's default
        for (int jobs : parallel) {
            // The meter's own answer delays are the floor; its whole time
            // alone (the slowest of the fleet's) is what all at once can reach.
            const double floor = (kItems + 1) * kAnswerDelayMs * 1000.0;
            BenchRow row { QStringLiteral("fleet read, %1 at once").arg(jobs), transport,
                QStringLiteral("%1 meters x %2 items").arg(count).arg(kItems), -1, floor, {}, {}, 0 };
            row.medianMicros = medianMicros(3, [&] { return readFleet(targets.mid(0, count), jobs); }, &row.runs);
            row.note = QStringLiteral("limit: %1 answers x %2 ms; the slowest meter alone %3")
                           .arg(kItems + 1)
                           .arg(kAnswerDelayMs)
                           .arg(formatMicros(slowest));
            if (jobs < count)
                row.note += QStringLiteral("; %1 rounds of %2").arg((count + jobs - 1) / jobs).arg(jobs);
            table.add(row);
        }
    }
    // The fast case: loopback answers at once, so the program's own time shows.
    QVector<CliTarget> fast;
    std::vector<std::unique_ptr<SimRunner>> quick;
    for (int i = 0; i < 32; ++i) {
        quick.emplace_back(new SimRunner(fleetProfile()));
        fast << CliTarget { QStringLiteral("q%1").arg(i), meterLink(*quick.back(), true) };
    }
    const double slowest = slowestAlone(fast);
    BenchRow row { QStringLiteral("fleet read, 32 at once"), QStringLiteral("UDP loopback"),
        QStringLiteral("32 meters x %1 items").arg(kItems), -1, 0, {}, {}, 0 };
    row.medianMicros = medianMicros(3, [&] { return readFleet(fast, 32); }, &row.runs);
    row.note = QStringLiteral("the slowest meter alone %1; floor: two CPUs").arg(formatMicros(slowest));
    table.add(row);
}
