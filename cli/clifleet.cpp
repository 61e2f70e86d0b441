#include "cli/clifleet.h"

#include "cli/cliprogress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>

#include <atomic>
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

QVector<MeterReport> runFleet(
    const QVector<CliTarget> &targets, const CliOptions &options, int jobs, Journal &journal, CliProgress *progress)
{
    // A lane is served by one thread at a time: every UDP meter has its own,
    // the meters of one serial port share one.
    QVector<QVector<int>> lanes;
    QMap<QString, int> serialLane;
    for (int i = 0; i < targets.size(); ++i) {
        const LinkSettings &link = targets.at(i).link;
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

    QVector<MeterReport> reports(targets.size());
    std::atomic_int nextLane { 0 };
    std::atomic_int finished { 0 };
    const QString meters = QCoreApplication::translate("VexaCli", "设备");
    auto work = [&]() {
        for (int lane = nextLane++; lane < lanes.size(); lane = nextLane++) {
            for (int index : lanes.at(lane)) {
                // The channel lives on this thread, as it must.
                CliMeterJob job(targets.at(index), options, journal, progress);
                reports[index] = job.run();
                if (progress)
                    progress->step(QString(), meters, ++finished, targets.size());
            }
        }
    };
    const int threads = qBound(1, jobs, lanes.size());
    std::vector<std::unique_ptr<QThread>> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back(QThread::create(work));
        workers.back()->start();
    }
    for (auto &worker : workers)
        worker->wait();
    if (progress)
        progress->clear();
    return reports;
}
