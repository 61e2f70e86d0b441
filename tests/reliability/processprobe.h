#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the process uses, read from /proc/self and getrusage.
int processThreadCount();
// Waits up to timeoutMs for the count to drop to `expected`; returns the last count.
int waitForThreadCount(int expected, int timeoutMs);
// User plus system CPU time of the whole process.
qint64 processCpuMs();
// Peak and current resident set size (VmHWM, VmRSS) in KiB; -1 when unknown.
qint64 peakRssKb();
qint64 currentRssKb();
// The peak RSS of another running process; -1 once it is gone.
qint64 peakRssKbOf(qint64 pid);
// The current RSS after handing freed heap back to the system, so it counts
// what is alive rather than what the allocator keeps for later.
qint64 liveRssKb();
// The largest peak RSS among the child processes waited for so far, in KiB.
qint64 childrenPeakRssKb();

// AddressSanitizer keeps freed memory in quarantine and pads every block:
// RSS figures say little there, so memory bounds are checked in plain builds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryBoundsApply = false;
#else
constexpr bool kMemoryBoundsApply = true;
#endif

// A program run in a child process whose memory is capped, so a regression
// that allocates without bound fails a test instead of the machine: an
// address-space limit (prlimit) in plain builds; under ASan, whose shadow
// memory rules that out, a cap on single allocations and on RSS.
struct LimitedRun
{
    int exitCode = -1; // -1: crashed, killed or timed out
    QString out;
    QString err;
};
LimitedRun runWithMemoryLimit(const QString &program, const QStringList &arguments, int limitMiB);
