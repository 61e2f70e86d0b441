#include "link/devicechannel.h"

#include "link/serialtransport.h"
#include "link/udptransport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>

namespace {

constexpr int kStreamTimeoutMs = 10000;
// How often a wait that can be stopped looks at its stop flag.
constexpr int kStopPollMs = 20;
// Pieces read in one go: under a flood the caller still gets to look at its
// clock and stop flag between passes.
constexpr int kMaxPiecesPerPass = 256;
// Longer than any answer of the instrument (an item answer is at most 260 bytes).
constexpr int kAnswerOverlapBytes = 1024;

} // namespace

DeviceChannel::DeviceChannel() = default;

DeviceChannel::~DeviceChannel() = default;

bool DeviceChannel::open(const LinkSettings &settings)
{
    m_errorText.clear();
    m_targetText = settings.targetText();
    m_sendRts = settings.serial.sendRts;
    // Stored but deliberately not applied: the option is hidden in the setup
    // dialog and no exchange needs the DTR line.
    m_sendDtr = settings.serial.sendDtr;
    m_udp = settings.useUdp;
    m_deviceAddress = settings.deviceAddress;

    if (m_udp) {
        m_hostAddress = QHostAddress(settings.udp.address.trimmed());
        m_port = settings.udp.port;
        m_transport = std::make_unique<UdpTransport>(m_hostAddress, m_port);
        return true;
    }

    auto serial = std::make_unique<SerialTransport>();
    const QString portName = settings.serial.port;
    if (!serial->open(settings.serial)) {
        m_errorText = portName.isEmpty() ? QObject::tr("串口打开失败") : QObject::tr("打开串口失败: %1").arg(portName);
    }
    // Kept also when it did not open: it holds the system's reason.
    m_transport = std::move(serial);
    return m_errorText.isEmpty();
}

LinkFailure DeviceChannel::openFailure() const
{
    if (m_errorText.isEmpty())
        return {};
    return failure(LinkFailure::Kind::NotOpened, m_errorText);
}

LinkFailure DeviceChannel::exchangeFailure(LinkResult result, const QByteArray &response) const
{
    const LinkFailure::Kind kind = linkFailureKind(result, response);
    if (kind == LinkFailure::Kind::None)
        return {};
    return failure(kind, linkErrorText(result, response));
}

LinkFailure DeviceChannel::failure(LinkFailure::Kind kind, const QString &message) const
{
    LinkFailure failure = LinkFailure::of(kind, message);
    failure.target = m_targetText;
    failure.reason = systemReason();
    return failure;
}

QString DeviceChannel::systemReason() const
{
    return m_transport ? m_transport->systemReason() : QString();
}

// One exchange in progress: the bytes not judged yet, its deadlines, what was let go.
struct DeviceChannel::Pending
{
    Pending(bool crcHighFirst, int timeoutMs, const AnswerJudge &judge, int copyWaitMs)
        : crcHighFirst(crcHighFirst)
        , timeoutMs(timeoutMs)
        , judge(judge)
        , copyWaitMs(copyWaitMs)
        , ownDeadlineMs(timeoutMs)
    {
    }

    void start() { clock.start(); }
    // Until the own answer must have begun.
    qint64 ownLeft() const { return ownDeadlineMs - clock.elapsed(); }
    // A begun answer may take the time-out once more, never longer: a line
    // that keeps talking without forming an answer must not hold the caller.
    qint64 collectLeft() const { return 2 * qint64(timeoutMs) - clock.elapsed(); }
    Answer end(LinkResult result)
    {
        answer.result = result;
        answer.bytes = buffer.isEmpty() ? lastLetGo : buffer;
        return answer;
    }

    const bool crcHighFirst;
    const int timeoutMs;
    const AnswerJudge &judge;
    const int copyWaitMs;
    QElapsedTimer clock;
    qint64 ownDeadlineMs;
    QByteArray buffer;
    QByteArray lastLetGo;
    Answer answer;
};

LinkResult DeviceChannel::transact(
    const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs)
{
    response.clear();
    if (!request || length < 0)
        return LinkSendError;
    const Answer answer = exchange(QByteArray::fromRawData(request, length), crcHighFirst, timeoutMs);
    response = answer.bytes;
    return answer.result;
}

DeviceChannel::Answer DeviceChannel::exchange(
    const QByteArray &request, bool crcHighFirst, int timeoutMs, const AnswerJudge &judge, int copyWaitMs)
{
    // Qt reads a negative wait as "forever".
    Pending pending(crcHighFirst, qMax(0, timeoutMs), judge, copyWaitMs);
    if (stopRequested(m_stop))
        return pending.end(LinkStopped);
    if (!m_transport || m_transport->send(request, pending.timeoutMs) != LinkTransport::Sent::Ok)
        return pending.end(LinkSendError);
    pending.start();
    const int gapMs = m_transport->answerGapMs();
    for (;;) {
        const bool begun = !pending.buffer.isEmpty();
        // Further pieces of a begun answer: within the line's gap, or each
        // with the time-out afresh, never past twice the time-out.
        const qint64 pieceMs = gapMs >= 0 ? gapMs : pending.timeoutMs;
        const qint64 left = begun ? qMin<qint64>(pieceMs, pending.collectLeft()) : pending.ownLeft();
        if (left <= 0 || !m_transport->waitReadable(int(left), m_stop)) {
            if (stopRequested(m_stop))
                return pending.end(LinkStopped);
            // A quiet line ends a begun answer; the caller's CRC check judges what came.
            return pending.end(begun && gapMs >= 0 ? LinkOk : LinkReceiveTimeout);
        }
        // A piece at a time: what follows the answer taken (a repeated
        // answer) stays pending and is dropped before the next request.
        int pieces = 0;
        int foreignPieces = 0;
        for (; pieces < kMaxPiecesPerPass && m_transport->hasPending(); ++pieces) {
            bool foreign = false;
            const QByteArray piece = m_transport->readPiece(&foreign);
            if (foreign) {
                ++foreignPieces;
                continue;
            }
            pending.buffer += piece;
            if (judgeCollected(pending))
                return pending.answer;
        }
        // Datagrams from others end the exchange: the line is not ours alone.
        if (pieces > 0 && foreignPieces == pieces)
            return pending.end(LinkReceiveTimeout);
        if (pending.buffer.size() > kMaxCollectedBytes)
            return pending.end(gapMs >= 0 ? LinkOk : LinkReceiveTimeout);
    }
}

bool DeviceChannel::judgeCollected(Pending &pending)
{
    for (;;) {
        const int length = leadingResponseLength(pending.buffer, m_deviceAddress, pending.crcHighFirst);
        if (length <= 0)
            return false;
        const QByteArray answer = pending.buffer.left(length);
        // What follows the answer taken belongs to no request of ours.
        pending.buffer.remove(0, length);
        const bool remembered = isRemembered(answer);
        switch (pending.judge ? pending.judge(answer, remembered) : Verdict::Take) {
        case Verdict::Take:
            if (!remembered)
                remember(answer);
            pending.answer.result = LinkOk;
            pending.answer.bytes = answer;
            pending.answer.taken = true;
            pending.answer.remembered = remembered;
            return true;
        case Verdict::LetGoCopy:
            ++pending.answer.copiesLetGo;
            if (pending.copyWaitMs >= 0)
                pending.ownDeadlineMs
                    = qMin(pending.ownDeadlineMs, pending.clock.elapsed() + qint64(pending.copyWaitMs));
            break;
        case Verdict::LetGoOther:
            ++pending.answer.othersLetGo;
            break;
        }
        pending.lastLetGo = answer;
    }
}

void DeviceChannel::remember(const QByteArray &answer)
{
    if (m_answers.size() >= kRememberedAnswers)
        m_answers.removeFirst();
    m_answers.append(answer);
}

QByteArray DeviceChannel::readAvailable()
{
    QByteArray bytes;
    for (int pieces = 0; pieces < kMaxPiecesPerPass && m_transport->hasPending(); ++pieces) {
        bool foreign = false;
        bytes += m_transport->readPiece(&foreign);
    }
    return bytes;
}

QByteArray DeviceChannel::receiveChunk(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        // Only the meter's bytes count: a stray datagram neither ends the
        // wait nor passes for data.
        const QByteArray chunk = readAvailable();
        if (!chunk.isEmpty())
            return chunk;
        if (stopRequested(m_stop))
            return QByteArray();
        const qint64 left = timeoutMs - timer.elapsed();
        // Whatever landed right at the end still counts.
        if (left <= 0 || !m_transport->waitReadable(int(left), m_stop))
            return readAvailable();
    }
}

LinkFailure DeviceChannel::transactStream(const char *request, int length, DDataReceiver *receiver)
{
    if (!receiver)
        return {};
    LinkFailure failure;
    if (!request || length < 0 || !m_transport)
        failure = this->failure(LinkFailure::Kind::SendFailed, QObject::tr("发送命令失败"));
    else if (stopRequested(m_stop))
        return {};
    else
        failure = stream(QByteArray::fromRawData(request, length), receiver);
    if (failure.failed())
        receiver->onReceiveError(failure.briefText());
    return failure;
}

LinkFailure DeviceChannel::stream(const QByteArray &request, DDataReceiver *receiver)
{
    switch (m_transport->send(request, kStreamTimeoutMs)) {
    case LinkTransport::Sent::Refused:
        return failure(LinkFailure::Kind::SendFailed, QObject::tr("发送命令失败"));
    case LinkTransport::Sent::TimedOut:
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("发送命令超时"));
    case LinkTransport::Sent::Ok:
        break;
    }
    QByteArray chunk = receiveChunk(kStreamTimeoutMs);
    if (chunk.isEmpty()) {
        if (stopRequested(m_stop))
            return {};
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("接受数据超时"));
    }
    for (;;) {
        if (receiver->isStopped())
            return {};
        receiver->onReceiveData(chunk);
        chunk = receiveChunk(m_transport->streamGapMs());
        if (chunk.isEmpty())
            return {};
    }
}

void DeviceChannel::discardLateAnswer(bool crcHighFirst, int windowMs)
{
    QElapsedTimer window;
    window.start();
    QByteArray dropped;
    for (;;) {
        const qint64 left = windowMs - window.elapsed();
        if (left <= 0 || stopRequested(m_stop) || !m_transport)
            return;
        if (!m_transport->waitReadable(int(left), m_stop))
            return;
        dropped += readAvailable();
        // The request was asked twice, so one answer at most is still due.
        if (isCompleteResponse(dropped, m_deviceAddress, crcHighFirst))
            return;
        if (dropped.size() > kMaxCollectedBytes)
            dropped = dropped.right(kMaxCollectedBytes);
    }
}

namespace {

DeviceChannel::TrafficExchange endedWith(LinkResult result, const QByteArray &collected = QByteArray())
{
    DeviceChannel::TrafficExchange exchange;
    exchange.result = result;
    exchange.response = collected;
    return exchange;
}

// Looks for the answer only where it can be new: in the bytes from `from`
// on, plus enough before them to hold an answer that began earlier, so a
// flood does not make every pass rescan all that came before.
int locateFrom(const DeviceChannel::AnswerLocator &locate, const QByteArray &buffer, int from, int *length)
{
    const int begin = qMax(0, from - kAnswerOverlapBytes);
    const int start = locate(begin > 0 ? buffer.mid(begin) : buffer, length);
    return start < 0 ? -1 : begin + start;
}

DeviceChannel::TrafficExchange answerWithin(const QByteArray &buffer, int start, int length)
{
    DeviceChannel::TrafficExchange exchange;
    exchange.response = buffer.mid(start, length);
    exchange.trailing = buffer.mid(start + length);
    return exchange;
}

} // namespace

DeviceChannel::TrafficExchange DeviceChannel::transactAmidTraffic(
    const QByteArray &request, int timeoutMs, const AnswerLocator &locate, const std::atomic<bool> *stop)
{
    timeoutMs = qMax(0, timeoutMs);
    if (stopRequested(stop))
        return endedWith(LinkStopped);
    if (!m_transport || m_transport->send(request, timeoutMs) != LinkTransport::Sent::Ok)
        return endedWith(LinkSendError);
    QElapsedTimer total;
    total.start();
    const int gapMs = m_transport->answerGapMs();
    QByteArray buffer;
    for (;;) {
        // Every pass looks at the time and the stop flag, however much keeps
        // arriving; bytes of others are dropped without ending the wait.
        if (stopRequested(stop))
            return endedWith(LinkStopped);
        if (m_transport->hasPending()) {
            const int fresh = buffer.size();
            buffer += readAvailable();
            int length = 0;
            const int start = locateFrom(locate, buffer, fresh, &length);
            if (start >= 0)
                return answerWithin(buffer, start, length);
            // Only the last bytes can still hold the beginning of the answer.
            if (buffer.size() > kMaxCollectedBytes)
                buffer = buffer.right(kMaxCollectedBytes);
            // A line that never pauses must not hold the exchange forever.
            if (total.elapsed() > timeoutMs)
                return endedWith(LinkReceiveTimeout, buffer);
            continue;
        }
        // Once bytes came, a quiet serial line ends the exchange: the
        // caller's CRC check reports what came instead of the answer.
        const bool quietEnds = gapMs >= 0 && !buffer.isEmpty();
        const qint64 left = quietEnds ? gapMs : timeoutMs - total.elapsed();
        if (left <= 0 || !m_transport->waitReadable(int(left), stop)) {
            if (stopRequested(stop))
                return endedWith(LinkStopped);
            return endedWith(quietEnds ? LinkOk : LinkReceiveTimeout, buffer);
        }
    }
}

void DeviceChannel::listen(
    const std::atomic<bool> *stop, const std::function<void(const QByteArray &bytes)> &onBytes, int passMs, int gapMs)
{
    QElapsedTimer pass;
    pass.start();
    if (!m_transport || !m_transport->waitReadable(passMs, stop)) {
        // A port that fails at once (unplugged) must not make the caller spin.
        for (qint64 left = passMs - pass.elapsed(); left > 0 && !stopRequested(stop); left = passMs - pass.elapsed())
            QThread::msleep(ulong(qMin<qint64>(left, kStopPollMs)));
        return;
    }
    // Pieces are handed on as they come, so a stream without pauses still shows live.
    do {
        const QByteArray bytes = readAvailable();
        if (!bytes.isEmpty())
            onBytes(bytes);
    } while (!stopRequested(stop) && m_transport->waitReadable(gapMs, stop));
}

LinkTransport *DeviceChannel::transport() const
{
    return m_transport.get();
}
