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

constexpr int kMeters = 50;
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

} // namespace

void benchFleetRead(BenchTable &table)
{
    for (int answerDelayMs : { 0, 20 }) {
        std::vector<std::unique_ptr<SimRunner>> meters;
        QVector<CliTarget> targets;
        for (int i = 0; i < kMeters; ++i) {
            meters.emplace_back(new SimRunner(fleetProfile()));
            if (answerDelayMs > 0)
                meters.back()->addFault(QStringLiteral("delay,match=read,times=all,delay=%1").arg(answerDelayMs));
            CliTarget target;
            target.name = QStringLiteral("m%1").arg(i);
            target.link = meterLink(*meters.back(), true);
            targets << target;
        }
        // The bound: one meter's list, as the slowest of equal meters needs.
        const double one = medianMicros(3, [&] { return readFleet(targets.mid(0, 1), 1); });
        const QString transport = answerDelayMs > 0
            ? QStringLiteral("UDP loopback, %1 ms per answer").arg(answerDelayMs)
            : QStringLiteral("UDP loopback");
        for (int jobs : { 1, 16 }) {
            BenchRow row { QStringLiteral("vexa-cli items, fleet --jobs %1").arg(jobs), transport,
                QStringLiteral("%1 meters x %2 items").arg(kMeters).arg(kItems), -1, one, {}, {}, 0 };
            row.medianMicros = medianMicros(3, [&] { return readFleet(targets, jobs); });
            row.note = QStringLiteral("limit: one meter's list");
            table.add(row);
        }
    }
}
