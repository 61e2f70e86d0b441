#include "cli/clifleet.h"

#include "cli/cliprogress.h"
#include "fleet/fleetrunner.h"

#include <QCoreApplication>
#include <QJsonObject>

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
    limits.maxFailures = options.maxFailures;
    const QVector<FleetOutcome> outcomes = FleetRunner::run(links, limits, [&](int index) {
        // The channel lives on this thread, as it must.
        CliMeterJob job(targets.at(index), options, journal, progress);
        MeterReport &report = reports[index];
        report = job.run();
        if (progress)
            progress->step(QString(), meters, ++finished, targets.size());
        if (report.outcome != FleetOutcome::Skipped)
            report.outcome = report.exit == CliOk ? FleetOutcome::Done : FleetOutcome::Failed;
        return report.outcome;
    });
    if (progress)
        progress->clear();
    static const char *const kOutcomeWords[] = { "done", "failed", "skipped", "not_started" };
    for (int i = 0; i < reports.size(); ++i) {
        MeterReport &report = reports[i];
        if (outcomes.at(i) == FleetOutcome::NotStarted) {
            report.name = targets.at(i).name;
            report.outcome = FleetOutcome::NotStarted;
            report.json = QJsonObject { { QStringLiteral("meter"), report.name },
                { QStringLiteral("command"), options.command }, { QStringLiteral("ok"), false } };
        }
        report.json.insert(QStringLiteral("outcome"), QLatin1String(kOutcomeWords[int(report.outcome)]));
    }
    return reports;
}
