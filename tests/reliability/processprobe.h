#pragma once

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
// The current RSS after handing freed heap back to the system, so it counts
// what is alive rather than what the allocator keeps for later.
qint64 liveRssKb();

// AddressSanitizer keeps freed memory in quarantine and pads every block:
// RSS figures say little there, so memory bounds are checked in plain builds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryBoundsApply = false;
#else
constexpr bool kMemoryBoundsApply = true;
#endif
