#include "tests/reliability/faultexpectations.h"

#include <QHash>

namespace {

// Time-outs of the program: every exchange waits 10 s, the first read of an
// item 3 s. Bounds add slack for a loaded machine.
constexpr int kSlack = 6;
constexpr int kQuick = 8;
constexpr int kOneTimeout = 10 + kSlack;
// A write without an own answer is read back: the line settles (1 s), the
// item is asked once (3 s).
constexpr int kWriteReadBack = 10 + 1 + 3 + kSlack;

const QString kTimeout = QStringLiteral("接受数据超时");
const QString kSendTimeout = QStringLiteral("发送命令超时");
const QString kCrc = QStringLiteral("CRC校验错误");
const QString kCheck = QStringLiteral("硬件返回数据校验错误");
// The line under a failure whose outcome is unknown.
const QString kUnknown = QStringLiteral(" 结果未知：设备可能已接受该值，请重新读取确认");

CellExpectation make(const QString &outcome, int maxSeconds, const QString &knownIssue = QString())
{
    return CellExpectation { outcome, maxSeconds, knownIssue };
}

// A pseudo-terminal whose meter end closed: the next write or the wait fails
// at once, whichever comes first.
QString goneLine(const QString &suffix = QString())
{
    return kTimeout + suffix + QStringLiteral("||") + kSendTimeout + suffix;
}

CellExpectation refresh(const QString &fault, bool udp)
{
    if (fault == QLatin1String("none") || fault == QLatin1String("split"))
        return make(QStringLiteral("ok"), kQuick);
    if (fault == QLatin1String("drop")) // the item is asked again and the list completes
        return make(QStringLiteral("ok"), 3 + kSlack);
    // Asked again after 3.0 s; the late answer (3.3 s) is dropped, not shown as item 4 or later.
    if (fault == QLatin1String("late"))
        return make(QStringLiteral("ok"), 5 + kSlack);
    // Answered after its repeat and after the settle window: the answer is a
    // copy of a row taken, let go wherever it lands, and that item asked again.
    if (fault == QLatin1String("copy"))
        return make(QStringLiteral("ok"), 7 + kSlack);
    // The second copy is dropped before the next request or, when it comes
    // after it, recognised as the previous answer once more; no repeat after
    // a time-out (3 s). On the pty both copies usually come in one read: a
    // CRC error, asked again at once.
    if (fault == QLatin1String("duplicate"))
        return make(QStringLiteral("ok"), udp ? 2 : kQuick);
    if (fault == QLatin1String("silence"))
        return make(kTimeout, 13 + kSlack);
    if (fault == QLatin1String("bad-crc"))
        return udp ? make(kTimeout, 13 + kSlack) : make(kCrc, kQuick);
    if (fault == QLatin1String("other-address"))
        return make(QStringLiteral("地址或命令校验错误: \n00 03 *"), kQuick);
    if (fault == QLatin1String("other-port"))
        return make(kTimeout, kQuick);
    if (fault == QLatin1String("wrong-length"))
        return udp ? make(kTimeout, 13 + kSlack) : make(QStringLiteral("数据长度校验错误 : \n01 03 *"), kQuick);
    // disappear at item 3
    return udp ? make(kTimeout, 13 + kSlack) : make(goneLine(), kQuick);
}

// No own answer: the write is read back, and when that does not tell either,
// its outcome is unknown and the batch stops.
CellExpectation write(const QString &fault, bool udp, const QString &value)
{
    const QString failed = kUnknown + QStringLiteral(" | 写入配置失败: ") + value;
    if (fault == QLatin1String("none") || fault == QLatin1String("split"))
        return make(QStringLiteral("ok"), kQuick);
    // A batch row whose answer is lost: read back, the meter holds it.
    if (fault == QLatin1String("drop"))
        return make(QStringLiteral("ok"), 11 + kSlack);
    if (fault == QLatin1String("silence"))
        return make(kTimeout + failed, kWriteReadBack);
    if (fault == QLatin1String("bad-crc"))
        return udp ? make(kTimeout + failed, kWriteReadBack) : make(kCrc + failed, kQuick);
    // Answers from another address are let go: the write waits out its time-out.
    if (fault == QLatin1String("other-address"))
        return make(kCheck + failed, kWriteReadBack);
    if (fault == QLatin1String("other-port"))
        return make(kTimeout + failed, kQuick);
    if (fault == QLatin1String("wrong-length"))
        return udp ? make(kTimeout + failed, kWriteReadBack) : make(kCheck + failed, kQuick);
    return udp ? make(kTimeout + failed, kWriteReadBack) : make(goneLine(failed), kQuick);
}

// The clock cannot be read back: without its own answer it stays unknown.
CellExpectation clock(const QString &fault, bool udp)
{
    if (fault == QLatin1String("none") || fault == QLatin1String("split"))
        return make(QStringLiteral("ok"), kQuick);
    if (fault == QLatin1String("silence"))
        return make(kTimeout + kUnknown, kOneTimeout);
    if (fault == QLatin1String("bad-crc"))
        return udp ? make(kTimeout + kUnknown, kOneTimeout) : make(kCrc + kUnknown, kQuick);
    if (fault == QLatin1String("other-address"))
        return make(kCheck + kUnknown, kOneTimeout);
    if (fault == QLatin1String("other-port"))
        return make(kTimeout + kUnknown, kQuick);
    if (fault == QLatin1String("wrong-length"))
        return udp ? make(kTimeout + kUnknown, kOneTimeout) : make(kCheck + kUnknown, kQuick);
    return udp ? make(kTimeout + kUnknown, kOneTimeout) : make(goneLine(kUnknown), kQuick);
}

CellExpectation history(const QString &fault, bool udp)
{
    // The answer is plain text, so a spoilt CRC does not matter to it.
    if (fault == QLatin1String("none") || fault == QLatin1String("split") || fault == QLatin1String("bad-crc"))
        return make(QStringLiteral("ok"), 10);
    if (fault == QLatin1String("silence") || fault == QLatin1String("other-port"))
        return make(kTimeout, kOneTimeout);
    // The answer has no end mark: a meter that vanishes mid-answer leaves the
    // lines that came, and the reader ends as after any answer.
    return udp ? make(QStringLiteral("cut short*"), kQuick) : make(goneLine() + QStringLiteral("||cut short*"), kQuick);
}

CellExpectation monitor(const QString &fault, bool udp)
{
    if (fault == QLatin1String("none") || fault == QLatin1String("split"))
        return make(QStringLiteral("ok"), kQuick);
    // The switch keeps its time-out however fast the debug lines come.
    if (fault == QLatin1String("flood"))
        return make(kTimeout, kOneTimeout);
    // The switch answer only has to pass its CRC; the meter did switch on.
    if (fault == QLatin1String("other-address"))
        return make(QStringLiteral("ok"), kQuick);
    // Closing: the answer to "off" does not come; stop() waits out the time-out.
    if (fault == QLatin1String("drop"))
        return make(kTimeout, 11 + kSlack);
    // A pty that goes away hangs the line up: a run that does not wait for
    // the port to come back ends at once with that (or, gone during the
    // closing switch, with the switch's failure).
    if (fault == QLatin1String("disappear"))
        return udp ? make(kTimeout, 12 + kSlack) : make(QStringLiteral("连接已断开||") + goneLine(), kQuick);
    // The switch answer is judged by its CRC alone: a wrong length byte passes
    // when the answer arrives by itself, and fails when debug lines already
    // follow it in the same read.
    if (fault == QLatin1String("wrong-length") && !udp)
        return make(QStringLiteral("ok||") + kTimeout + QStringLiteral("||") + kCrc, kOneTimeout);
    // Opening switch unanswered. Debug lines already flowing make a pty
    // exchange end with bytes that are no answer.
    if (udp)
        return make(kTimeout, kOneTimeout);
    return make(kTimeout + QStringLiteral("||") + kCrc, kOneTimeout);
}

CellExpectation update(const QString &fault, bool udp)
{
    const QString noId = QStringLiteral("固件更新失败,获取设备ID失败!");
    const QString noPage = QStringLiteral("固件更新失败,发送文件数据失败!");
    if (fault == QLatin1String("none") || fault == QLatin1String("split"))
        return make(QStringLiteral("ok"), kQuick);
    // The second identification answer is dropped before the erase request,
    // or let go as a copy inside it.
    if (fault == QLatin1String("duplicate"))
        return make(QStringLiteral("ok"), 5);
    // The erase answer once more is no answer to the first page, which was
    // lost: that page is not confirmed.
    if (fault == QLatin1String("copy"))
        return make(noPage, kOneTimeout);
    // Identification asked twice, then the finish request twice: four time-outs.
    if (fault == QLatin1String("silence"))
        return make(noId, 40 + 2 * kSlack);
    // A reply with a broken CRC identifies nothing: asked twice, then given up
    // (a pseudo-terminal's exchange ends once the line is quiet).
    if (fault == QLatin1String("bad-crc"))
        return udp ? make(noId, 40 + 2 * kSlack) : make(noId, kQuick);
    if (fault == QLatin1String("other-port"))
        return make(noId, kQuick);
    // drop / disappear at page 1
    return udp ? make(noPage, kOneTimeout) : make(noPage, fault == QLatin1String("drop") ? kOneTimeout : kQuick);
}

} // namespace

CellExpectation expectedCell(const FaultCell &cell)
{
    const bool udp = cell.line == QLatin1String("udp");
    const QString &op = cell.operation;
    const QString &fault = cell.fault;
    if (op == QLatin1String("refresh"))
        return refresh(fault, udp);
    if (op == QLatin1String("write"))
        return write(fault, udp, QStringLiteral("19200"));
    if (op == QLatin1String("batch")) {
        // Rows 4..8 hold 1, 9600, 无, 8, 1; the fault hits the first or the third.
        const bool third = fault == QLatin1String("drop") || fault == QLatin1String("disappear");
        return write(fault, udp, third ? QStringLiteral("无") : QStringLiteral("1"));
    }
    if (op == QLatin1String("clock"))
        return clock(fault, udp);
    if (op == QLatin1String("history"))
        return history(fault, udp);
    if (op == QLatin1String("monitor"))
        return monitor(fault, udp);
    return update(fault, udp);
}

bool outcomeMatches(const CellExpectation &expected, const QString &outcome)
{
    for (const QString &choice : expected.outcome.split(QStringLiteral("||"))) {
        if (choice.endsWith(QLatin1Char('*')) ? outcome.startsWith(choice.chopped(1)) : outcome == choice)
            return true;
    }
    return false;
}
