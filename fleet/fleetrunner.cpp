#include "fleet/fleetrunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>

#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// One name for one serial device, however it is spelled: a symlink, "..",
// "//" and the device node itself all lead to the same device number.
QString serialDeviceKey(const QString &port)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(port).constData(), &status) == 0 && S_ISCHR(status.st_mode))
        return QStringLiteral("device %1:%2").arg(major(status.st_rdev)).arg(minor(status.st_rdev));
    const QString canonical = QFileInfo(port).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(port) : canonical;
}

} // namespace

QVector<QVector<int>> FleetRunner::lanes(const QVector<LinkSettings> &links)
{
    QVector<QVector<int>> lanes;
    QMap<QString, int> serialLane;
    for (int i = 0; i < links.size(); ++i) {
        const LinkSettings &link = links.at(i);
        if (link.useUdp) {
            lanes.append(QVector<int> { i });
            continue;
        }
        const QString device = serialDeviceKey(link.serial.port);
        const auto found = serialLane.constFind(device);
        if (found != serialLane.constEnd()) {
            lanes[found.value()].append(i);
        } else {
            serialLane.insert(device, lanes.size());
            lanes.append(QVector<int> { i });
        }
    }
    return lanes;
}

QVector<FleetOutcome> FleetRunner::run(const QVector<LinkSettings> &links, const FleetLimits &limits, const Job &job)
{
    const QVector<QVector<int>> laneList = lanes(links);
    QVector<FleetOutcome> outcomes(links.size(), FleetOutcome::NotStarted);
    std::atomic_int nextLane { 0 };
    std::atomic_int failures { 0 };
    auto mayStart = [&]() {
        if (limits.stop && limits.stop->load())
            return false;
        return limits.maxFailures <= 0 || failures.load() < limits.maxFailures;
    };
    auto work = [&]() {
        for (int lane = nextLane++; lane < laneList.size(); lane = nextLane++) {
            for (int index : laneList.at(lane)) {
                if (!mayStart())
                    continue;
                outcomes[index] = job(index);
                if (outcomes[index] == FleetOutcome::Failed)
                    ++failures;
            }
        }
    };
    const int threads = qBound(1, limits.parallel, qMax(1, laneList.size()));
    if (threads == 1) {
        work();
        return outcomes;
    }
    std::vector<std::unique_ptr<QThread>> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back(QThread::create(work));
        workers.back()->start();
    }
    for (auto &worker : workers)
        worker->wait();
    return outcomes;
}
