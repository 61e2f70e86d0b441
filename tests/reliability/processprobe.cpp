#include "tests/reliability/processprobe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <malloc.h>
#include <sys/resource.h>

namespace {

qint64 statusField(const char *name, const QString &process = QStringLiteral("self"))
{
    QFile file(QStringLiteral("/proc/%1/status").arg(process));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int processThreadCount()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

int waitForThreadCount(int expected, int timeoutMs)
{
    int count = processThreadCount();
    for (int waited = 0; count > expected && waited < timeoutMs; waited += 20) {
        QThread::msleep(20);
        count = processThreadCount();
    }
    return count;
}

qint64 processCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

qint64 peakRssKb()
{
    return statusField("VmHWM");
}

qint64 peakRssKbOf(qint64 pid)
{
    return statusField("VmHWM", QString::number(pid));
}

qint64 currentRssKb()
{
    return statusField("VmRSS");
}

qint64 liveRssKb()
{
    malloc_trim(0);
    return currentRssKb();
}

LimitedRun runWithMemoryLimit(const QString &program, const QStringList &arguments, int limitMiB)
{
    QProcess process;
    QStringList command = arguments;
    QString executable = program;
#if defined(__SANITIZE_ADDRESS__)
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    options += QStringLiteral(":allocator_may_return_null=0:max_allocation_size_mb=%1:hard_rss_limit_mb=%2")
                   .arg(limitMiB / 2)
                   .arg(limitMiB);
    environment.insert(QStringLiteral("ASAN_OPTIONS"), options);
    process.setProcessEnvironment(environment);
#else
    command
        = QStringList { QStringLiteral("--as=%1").arg(qint64(limitMiB) * 1024 * 1024), QStringLiteral("--"), program }
        + arguments;
    executable = QStringLiteral("prlimit");
#endif
    process.start(executable, command);
    LimitedRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

qint64 childrenPeakRssKb()
{
    struct rusage usage = {};
    return getrusage(RUSAGE_CHILDREN, &usage) == 0 ? qint64(usage.ru_maxrss) : -1;
}
