#include "cli/clifleet.h"

#include "cli/cliprogress.h"
#include "fleet/fleetrunner.h"

#include <QCoreApplication>

#include <atomic>

QVector<MeterReport> runFleet(
    const QVector<CliTarget> &targets, const CliOptions &options, int jobs, Journal &journal, CliProgress *progress)
{
    QVector<LinkSettings> links;
    for (const CliTarget &target : targets)
        links.append(target.link);
    QVector<MeterReport> reports(targets.size());
    std::atomic_int finished { 0 };
    const QString meters = QCoreApplication::translate("VexaCli", "设备");
    FleetLimits limits;
    limits.parallel = jobs;
    FleetRunner::run(links, limits, [&](int index) {
        // The channel lives on this thread, as it must.
        CliMeterJob job(targets.at(index), options, journal, progress);
        reports[index] = job.run();
        if (progress)
            progress->step(QString(), meters, ++finished, targets.size());
        return reports.at(index).exit == CliOk ? FleetOutcome::Done : FleetOutcome::Failed;
    });
    if (progress)
        progress->clear();
    return reports;
}
