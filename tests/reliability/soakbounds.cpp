#include "tests/reliability/soakbounds.h"

#include "firmware/updatesession.h"
#include "items/itemsession.h"
#include "link/devicechannel.h"
#include "sim/simchaos.h"
#include "sim/simframe.h"
#include "sim/simprofile.h"

#include <functional>

namespace {

// The program's own waits.
constexpr qint64 kFirstRead = ItemSession::kFirstReadTimeoutMs; // 3 s
constexpr qint64 kRepeatRead = ItemSession::kRetryReadTimeoutMs; // 10 s
constexpr qint64 kExchange = ItemSession::kWriteTimeoutMs; // 10 s, every other exchange
constexpr qint64 kLateWindow = DeviceChannel::kLateAnswerWindowMs; // 1 s after a repeated request
constexpr qint64 kSettle = 500; // a serial answer ends after 0.5 s of quiet
constexpr qint64 kStreamQuiet = 1000; // the history answer ends after 1 s of quiet (UDP; serial 0.5 s)
constexpr qint64 kProcess = 5000; // a vexa-cli child starting and ending on a loaded machine

// Units built from them.
constexpr qint64 kRead = kFirstRead + kRepeatRead + kLateWindow + 2 * kSettle; // one item, asked twice
constexpr qint64 kReadAgain = 2 * kRead; // a repeated copy let go, the item asked again
constexpr qint64 kOneExchange = kExchange + kSettle;
constexpr qint64 kWrite = kOneExchange + kRead; // one read-back after an unknown outcome
// After a finished update the rebooting meter is asked again: each attempt
// an identification and two finish requests, each with its settle.
constexpr qint64 kAfterUpdate = UpdateSession::kAfterUpdateAttempts
    * (UpdateSession::kAfterUpdateIdentifyMs + kSettle + 2 * (UpdateSession::kAfterUpdateFinishMs + kSettle));

// The chaos meter sends the history in pieces (256 bytes, 10 ms apart) and
// cuts each piece on its own: up to four parts 0.7 s apart, each cut pushing
// every later piece back. So a cut answer lasts about as many seconds as it
// has pieces, 50 s for the three days, and the reader rightly reads on while
// bytes keep coming within its quiet time. A: the answer's last byte, late
// and copied at the latest.
qint64 historyPieces()
{
    const QJsonObject history = SimProfile::demo().section(QStringLiteral("history"));
    const qint64 pieceBytes = qMax(1, history.value(QStringLiteral("pieceBytes")).toInt(256));
    return (simEncodeText(soakHistoryTruth()).size() + pieceBytes - 1) / pieceBytes;
}

qint64 historyPieceMs()
{
    const QJsonObject history = SimProfile::demo().section(QStringLiteral("history"));
    return history.value(QStringLiteral("pieceDelayMs")).toInt(10)
        + (SimChaos::kMaxFragments - 1) * SimChaos::kMaxFragmentGapMs;
}

qint64 historyAnswerMs()
{
    return SimChaos::kMaxLateMs + historyPieces() * historyPieceMs() + SimChaos::kMaxCopyDelayMs;
}

// Without a first byte the reader gives up after one exchange.
qint64 historyRead()
{
    return qMax(kOneExchange, historyAnswerMs()) + kStreamQuiet;
}

qint64 listOf(int items)
{
    return 2 * (items + 1) * kReadAgain; // a list with a repeated row is read again once
}

qint64 updateOf(int bytes)
{
    const int pages = (bytes + 1023) / 1024;
    // identify twice and the late window, erase, the pages, finish twice, the meter asked again
    return 2 * kOneExchange + kLateWindow + kOneExchange + pages * kOneExchange + 2 * kOneExchange + kAfterUpdate;
}

struct BoundRow
{
    SoakOperation::Kind kind;
    const char *formula;
    std::function<qint64(const SoakOperation &, int)> bound;
};

const QList<BoundRow> &rows()
{
    static const QList<BoundRow> kRows = {
        { SoakOperation::List, "2 × (N + 1) × 2R",
            [](const SoakOperation &, int n) {
                return listOf(n);
            } },
        { SoakOperation::Write, "W",
            [](const SoakOperation &, int) {
                return kWrite;
            } },
        { SoakOperation::Batch, "k × W",
            [](const SoakOperation &o, int) {
                return o.writes.size() * kWrite;
            } },
        { SoakOperation::Clock, "X",
            [](const SoakOperation &, int) {
                return kOneExchange;
            } },
        { SoakOperation::Update, "(P + 5) × X + L + V",
            [](const SoakOperation &o, int) {
                return updateOf(o.imageBytes);
            } },
        { SoakOperation::History, "max(X, A) + Q",
            [](const SoakOperation &, int) {
                return historyRead();
            } },
        { SoakOperation::CliItems, "C + 2 × (N + 1) × 2R",
            [](const SoakOperation &, int n) {
                return kProcess + listOf(n);
            } },
        { SoakOperation::CliSet, "C + 2 × 2R + k × (2R + W)",
            [](const SoakOperation &o, int) {
                return kProcess + 2 * kReadAgain + o.writes.size() * (kReadAgain + kWrite);
            } },
        { SoakOperation::CliApply, "C + 2 × (N + 1) × 2R + k × W",
            [](const SoakOperation &o, int n) {
                return kProcess + listOf(n) + o.writes.size() * kWrite;
            } },
        { SoakOperation::CliApplyDry, "C + 2 × (N + 1) × 2R",
            [](const SoakOperation &, int n) {
                return kProcess + listOf(n);
            } },
        { SoakOperation::CliClock, "C + X",
            [](const SoakOperation &, int) {
                return kProcess + kOneExchange;
            } },
        { SoakOperation::CliFlash, "C + (P + 5) × X + L + V",
            [](const SoakOperation &o, int) {
                return kProcess + updateOf(o.imageBytes);
            } },
        { SoakOperation::CliHistory, "C + max(X, A) + Q",
            [](const SoakOperation &, int) {
                return kProcess + historyRead();
            } },
    };
    return kRows;
}

} // namespace

qint64 soakBoundMs(const SoakOperation &operation, int itemCount)
{
    for (const BoundRow &row : rows()) {
        if (row.kind == operation.kind)
            return row.bound(operation, itemCount);
    }
    return 0;
}

QString soakBoundsTable(int itemCount)
{
    QString table = QStringLiteral(
        "R = %1 s (first read %2 s + repeat %3 s + late window %4 s + 2 × settle %5 s), 2R = %6 s, "
        "X = %7 s (exchange + settle), W = X + R = %8 s (read-back after unknown), L = %4 s, Q = %9 s, "
        "C = %10 s (process), A = %12 s (history answer: late %13 s + H × %14 s + copy %15 s, H = %16 pieces), "
        "V = %17 s (after an update: %18 × (identification + 2 finish requests, each + settle)), "
        "N = %11 items, k writes, P pages\n\n| operation | bound | with N = %11, k = 2, P = 3 |\n"
        "|---|---|---|\n")
                        .arg(kRead / 1000.0)
                        .arg(kFirstRead / 1000.0)
                        .arg(kRepeatRead / 1000.0)
                        .arg(kLateWindow / 1000.0)
                        .arg(kSettle / 1000.0)
                        .arg(kReadAgain / 1000.0)
                        .arg(kOneExchange / 1000.0)
                        .arg(kWrite / 1000.0)
                        .arg(kStreamQuiet / 1000.0)
                        .arg(kProcess / 1000.0)
                        .arg(itemCount)
                        .arg(historyAnswerMs() / 1000.0)
                        .arg(SimChaos::kMaxLateMs / 1000.0)
                        .arg(historyPieceMs() / 1000.0)
                        .arg(SimChaos::kMaxCopyDelayMs / 1000.0)
                        .arg(historyPieces())
                        .arg(kAfterUpdate / 1000.0)
                        .arg(UpdateSession::kAfterUpdateAttempts);
    SoakOperation example;
    example.writes = { SoakWrite {}, SoakWrite {} };
    example.imageBytes = 3 * 1024;
    for (const BoundRow &row : rows()) {
        example.kind = row.kind;
        table += QStringLiteral("| %1 | %2 | %3 s |\n")
                     .arg(example.name())
                     .arg(QString::fromUtf8(row.formula))
                     .arg(row.bound(example, itemCount) / 1000.0);
    }
    return table;
}
