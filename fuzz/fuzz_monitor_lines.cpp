// The monitor's stream: chunks cut into lines, each formatted in the three
// display modes, and the debug switch answer looked for amid line traffic.
#include "fuzzsupport.h"
#include "link/frame.h"
#include "monitor/debugswitch.h"
#include "monitor/linesplitter.h"
#include "monitor/monitorline.h"

#include <QDateTime>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const quint8 address = data[0];
    const QByteArray input = fuzzBytes(data + 1, size - 1);
    const QDateTime time(QDate(2024, 5, 6), QTime(7, 8, 9, 10));

    LineSplitter splitter;
    QByteArray joined;
    QByteArray seen;
    for (const QByteArray &chunk : fuzzChunks(input)) {
        joined += chunk;
        for (const QByteArray &line : splitter.feed(chunk)) {
            // A line ends at its only line feed, or is cut at the cap without one.
            FUZZ_CHECK(LineSplitter::isCut(line) ? line.count('\n') == 0 && line.size() <= splitter.maxLineBytes()
                                                 : line.count('\n') == 1);
            seen += line;
            for (MonitorMode mode : { MonitorMode::Original, MonitorMode::Hex, MonitorMode::OriginalHex })
                (void)formatMonitorLine(line, mode, time);
        }
    }
    FUZZ_CHECK(seen + splitter.pending() == joined);

    int length = -1;
    const int start = locateResponse(joined, address, &length);
    if (start >= 0) {
        FUZZ_CHECK(length > 0 && start + length <= joined.size());
        FUZZ_CHECK(isCompleteResponse(joined.mid(start, length), address, false));
    }
    return 0;
}
