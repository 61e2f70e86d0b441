#include "tests/reliability/processprobe.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <malloc.h>
#include <sys/resource.h>

namespace {

qint64 statusField(const char *name)
{
    QFile file(QStringLiteral("/proc/self/status"));
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

qint64 currentRssKb()
{
    return statusField("VmRSS");
}

qint64 liveRssKb()
{
    malloc_trim(0);
    return currentRssKb();
}
