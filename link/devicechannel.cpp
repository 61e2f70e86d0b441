#include "link/devicechannel.h"

#include "link/udpwait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

namespace {

constexpr int kRtsSettleMs = 100;
constexpr int kSerialQuietMs = 500;
constexpr int kUdpStreamQuietMs = 1000;
constexpr int kStreamTimeoutMs = 10000;
// How often a wait that can be stopped looks at its stop flag.
constexpr int kStopPollMs = 20;
// Datagrams read in one go: under a flood the caller still gets to look at
// its clock and stop flag between passes.
constexpr int kMaxDatagramsPerPass = 256;
// Longer than any answer of the instrument (an item answer is at most 260 bytes).
constexpr int kAnswerOverlapBytes = 1024;

} // namespace

DeviceChannel::DeviceChannel() = default;

DeviceChannel::~DeviceChannel()
{
    m_serialPort.close();
    m_udpSocket.close();
}

bool DeviceChannel::open()
{
    return open(storedLinkSettings());
}

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
        return true;
    }

    const QString portName = settings.serial.port;
    m_serialPort.setPortName(portName);
    if (!portName.isEmpty() && m_serialPort.open(QIODevice::ReadWrite)) {
        // Ours alone: a second program (or channel) opening the port now
        // fails with the system's reason instead of mixing its answers in.
        ::ioctl(int(m_serialPort.handle()), TIOCEXCL);
        // Applied after opening: some drivers reset the line settings on open.
        m_serialPort.setBaudRate(settings.serial.baudRate, QSerialPort::AllDirections);
        m_serialPort.setDataBits(settings.serial.dataBits);
        m_serialPort.setParity(settings.serial.parity);
        m_serialPort.setStopBits(settings.serial.stopBits);
        m_serialPort.setFlowControl(QSerialPort::NoFlowControl);
    } else if (!portName.isEmpty()) {
        m_errorText = QObject::tr("打开串口失败: %1").arg(portName);
    } else {
        m_errorText = QObject::tr("串口打开失败");
    }
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
    if (m_udp) {
        const QAbstractSocket::SocketError error = m_udpSocket.error();
        if (error != QAbstractSocket::UnknownSocketError && error != QAbstractSocket::SocketTimeoutError)
            return m_udpSocket.errorString();
    } else {
        const QSerialPort::SerialPortError error = m_serialPort.error();
        if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
            return m_serialPort.errorString();
    }
    return QString();
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
    if (m_udp)
        return exchangeUdp(request, pending);
    return exchangeSerial(request, pending);
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

DeviceChannel::Answer DeviceChannel::exchangeSerial(const QByteArray &request, Pending &pending)
{
    if (!m_serialPort.isOpen() || (m_sendRts && !pulseRts()))
        return pending.end(LinkSendError);
    discardPending();
    if (m_serialPort.write(request) < request.size() || !m_serialPort.waitForBytesWritten(pending.timeoutMs))
        return pending.end(LinkSendError);
    pending.start();
    for (;;) {
        const bool begun = !pending.buffer.isEmpty();
        const qint64 left = begun ? qMin<qint64>(kSerialQuietMs, pending.collectLeft()) : pending.ownLeft();
        if (left <= 0 || !waitForSerialData(int(left), m_stop)) {
            if (stopRequested(m_stop))
                return pending.end(LinkStopped);
            // A quiet line ends a begun answer; the caller's CRC check judges what came.
            return pending.end(begun ? LinkOk : LinkReceiveTimeout);
        }
        pending.buffer += m_serialPort.readAll();
        if (judgeCollected(pending))
            return pending.answer;
        if (pending.buffer.size() > kMaxCollectedBytes)
            return pending.end(LinkOk);
    }
}

DeviceChannel::Answer DeviceChannel::exchangeUdp(const QByteArray &request, Pending &pending)
{
    discardPending();
    if (!sendDatagram(request.constData(), request.size()))
        return pending.end(LinkSendError);
    pending.start();
    for (;;) {
        // Each further piece of a begun answer gets the time-out afresh.
        const bool begun = !pending.buffer.isEmpty();
        const qint64 left = begun ? qMin<qint64>(pending.timeoutMs, pending.collectLeft()) : pending.ownLeft();
        if (left <= 0 || !waitForDatagram(int(left), m_stop))
            return pending.end(stopRequested(m_stop) ? LinkStopped : LinkReceiveTimeout);
        // One datagram at a time: what follows the answer taken (a repeated
        // answer) stays pending and is dropped before the next request.
        bool othersOnly = true;
        for (int taken = 0; taken < kMaxDatagramsPerPass && m_udpSocket.hasPendingDatagrams(); ++taken) {
            bool fromOthers = false;
            const QByteArray datagram = takeOneDeviceDatagram(&fromOthers);
            if (fromOthers)
                continue;
            othersOnly = false;
            pending.buffer += datagram;
            if (judgeCollected(pending))
                return pending.answer;
        }
        // Datagrams from others end the exchange: the line is not ours alone.
        if (othersOnly || pending.buffer.size() > kMaxCollectedBytes)
            return pending.end(LinkReceiveTimeout);
    }
}

LinkFailure DeviceChannel::transactStream(const char *request, int length, DDataReceiver *receiver)
{
    if (!receiver)
        return {};
    LinkFailure failure;
    if (!request || length < 0)
        failure = this->failure(LinkFailure::Kind::SendFailed, QObject::tr("发送命令失败"));
    else if (stopRequested(m_stop))
        return {};
    else if (m_udp)
        failure = transactStreamUdp(request, length, receiver);
    else
        failure = transactStreamSerial(request, length, receiver);
    if (failure.failed())
        receiver->onReceiveError(failure.briefText());
    return failure;
}

LinkFailure DeviceChannel::transactStreamSerial(const char *request, int length, DDataReceiver *receiver)
{
    const LinkFailure notSent = failure(LinkFailure::Kind::SendFailed, QObject::tr("发送命令失败"));
    if (!m_serialPort.isOpen() || (m_sendRts && !pulseRts()))
        return notSent;
    discardPending();
    if (m_serialPort.write(request, length) < length)
        return notSent;
    if (!m_serialPort.waitForBytesWritten(kStreamTimeoutMs))
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("发送命令超时"));
    if (!waitForSerialData(kStreamTimeoutMs, m_stop)) {
        if (stopRequested(m_stop))
            return {};
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("接受数据超时"));
    }
    for (;;) {
        if (receiver->isStopped())
            return {};
        if (!waitForSerialData(kSerialQuietMs, m_stop))
            return {};
        receiver->onReceiveData(m_serialPort.readAll());
    }
}

LinkFailure DeviceChannel::transactStreamUdp(const char *request, int length, DDataReceiver *receiver)
{
    discardPending();
    if (!sendDatagram(request, length))
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("发送命令超时"));
    // A stray datagram (another host, a search answer) must neither end the
    // stream early nor pass for its end: only the instrument's data counts.
    QByteArray chunk = receiveDeviceChunk(kStreamTimeoutMs, m_stop);
    if (chunk.isEmpty()) {
        if (stopRequested(m_stop))
            return {};
        return failure(LinkFailure::Kind::TimedOut, QObject::tr("接受数据超时"));
    }
    for (;;) {
        if (receiver->isStopped())
            return {};
        receiver->onReceiveData(chunk);
        chunk = receiveDeviceChunk(kUdpStreamQuietMs, m_stop);
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
        if (left <= 0 || stopRequested(m_stop))
            return;
        if (m_udp) {
            if (!waitForDatagram(int(left), m_stop))
                return;
            dropped += takeDeviceDatagrams();
        } else {
            if (!m_serialPort.isOpen() || !waitForSerialData(int(left), m_stop))
                return;
            dropped += m_serialPort.readAll();
        }
        // The request was asked twice, so one answer at most is still due.
        if (isCompleteResponse(dropped, m_deviceAddress, crcHighFirst))
            return;
        if (dropped.size() > kMaxCollectedBytes)
            dropped = dropped.right(kMaxCollectedBytes);
    }
}

DeviceChannel::TrafficExchange DeviceChannel::transactAmidTraffic(
    const QByteArray &request, int timeoutMs, const AnswerLocator &locate, const std::atomic<bool> *stop)
{
    timeoutMs = qMax(0, timeoutMs);
    if (stopRequested(stop)) {
        TrafficExchange exchange;
        exchange.result = LinkStopped;
        return exchange;
    }
    if (m_udp)
        return trafficUdp(request, timeoutMs, locate, stop);
    return trafficSerial(request, timeoutMs, locate, stop);
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

DeviceChannel::TrafficExchange DeviceChannel::trafficSerial(
    const QByteArray &request, int timeoutMs, const AnswerLocator &locate, const std::atomic<bool> *stop)
{
    if (!m_serialPort.isOpen() || (m_sendRts && !pulseRts()))
        return endedWith(LinkSendError);
    discardPending();
    if (m_serialPort.write(request) < request.size() || !m_serialPort.waitForBytesWritten(timeoutMs))
        return endedWith(LinkSendError);
    QElapsedTimer total;
    total.start();
    if (!waitForSerialData(timeoutMs, stop))
        return endedWith(stopRequested(stop) ? LinkStopped : LinkReceiveTimeout);
    QByteArray buffer = m_serialPort.readAll();
    int fresh = 0;
    for (;;) {
        int length = 0;
        const int start = locateFrom(locate, buffer, fresh, &length);
        if (start >= 0)
            return answerWithin(buffer, start, length);
        if (stopRequested(stop))
            return endedWith(LinkStopped);
        // A line that never pauses must not hold the exchange forever.
        if (total.elapsed() > timeoutMs)
            return endedWith(LinkReceiveTimeout, buffer);
        // Only the last bytes can still hold the beginning of the answer.
        if (buffer.size() > kMaxCollectedBytes)
            buffer = buffer.right(kMaxCollectedBytes);
        if (!waitForSerialData(kSerialQuietMs, stop)) {
            // Quiet without an answer: the caller's CRC check reports it.
            return endedWith(stopRequested(stop) ? LinkStopped : LinkOk, buffer);
        }
        fresh = buffer.size();
        buffer += m_serialPort.readAll();
    }
}

DeviceChannel::TrafficExchange DeviceChannel::trafficUdp(
    const QByteArray &request, int timeoutMs, const AnswerLocator &locate, const std::atomic<bool> *stop)
{
    discardPending();
    if (!sendDatagram(request.constData(), request.size()))
        return endedWith(LinkSendError);
    QElapsedTimer total;
    total.start();
    QByteArray buffer;
    for (;;) {
        // Every pass looks at the time and the stop flag, however much keeps
        // arriving; datagrams of others are dropped without ending the wait.
        if (stopRequested(stop))
            return endedWith(LinkStopped);
        if (m_udpSocket.hasPendingDatagrams()) {
            const int fresh = buffer.size();
            buffer += takeDeviceDatagrams();
            int length = 0;
            const int start = locateFrom(locate, buffer, fresh, &length);
            if (start >= 0)
                return answerWithin(buffer, start, length);
            if (buffer.size() > kMaxCollectedBytes)
                buffer = buffer.right(kMaxCollectedBytes);
            if (total.elapsed() > timeoutMs)
                return endedWith(LinkReceiveTimeout, buffer);
            continue;
        }
        if (!sleepUntilReadable(m_udpSocket, total, timeoutMs, stop ? kStopPollMs : -1))
            return endedWith(LinkReceiveTimeout, buffer);
    }
}

bool DeviceChannel::pulseRts()
{
    if (!m_serialPort.setRequestToSend(false))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    if (!m_serialPort.setRequestToSend(true))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    return true;
}

bool DeviceChannel::sendDatagram(const char *request, int length)
{
    // The system would deliver a datagram for the null address to this very
    // machine; without a configured instrument there is nobody to send to.
    if (m_hostAddress.isNull())
        return false;
    return m_udpSocket.writeDatagram(request, length, m_hostAddress, m_port) > 0;
}

void DeviceChannel::discardPending()
{
    if (m_udp) {
        // Nothing can be pending before the first send binds the socket.
        if (m_udpSocket.state() != QAbstractSocket::BoundState)
            return;
        // Bounded: a line that floods must not hold the exchange here.
        char sink = 0;
        for (int i = 0; i < kMaxDatagramsPerPass && m_udpSocket.hasPendingDatagrams(); ++i) {
            if (m_udpSocket.readDatagram(&sink, 1) < 0)
                break;
        }
        return;
    }
    if (!m_serialPort.isOpen())
        return;
    // The driver's buffers and the port's own; then whatever the driver still
    // hands over (a flush it refused, bytes that landed meanwhile).
    m_serialPort.clear(QSerialPort::AllDirections);
    for (int i = 0; i < 4 && (m_serialPort.bytesAvailable() > 0 || m_serialPort.waitForReadyRead(0)); ++i)
        m_serialPort.readAll();
    m_serialPort.clearError();
}

bool DeviceChannel::waitForDatagram(int timeoutMs, const std::atomic<bool> *stop)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_udpSocket.hasPendingDatagrams())
            return true;
        if (stopRequested(stop))
            return false;
        if (!sleepUntilReadable(m_udpSocket, timer, timeoutMs, stop ? kStopPollMs : -1))
            return m_udpSocket.hasPendingDatagrams();
    }
}

QByteArray DeviceChannel::takeOneDeviceDatagram(bool *fromOthers)
{
    const qint64 size = m_udpSocket.pendingDatagramSize();
    QByteArray datagram(int(qMax<qint64>(size, 0)), Qt::Uninitialized);
    QHostAddress sender;
    quint16 senderPort = 0;
    const qint64 read = m_udpSocket.readDatagram(datagram.data(), datagram.size(), &sender, &senderPort);
    *fromOthers = read < 0 || !isFromDevice(sender, senderPort);
    if (*fromOthers)
        return QByteArray();
    datagram.resize(int(read));
    return datagram;
}

QByteArray DeviceChannel::takeDeviceDatagrams()
{
    QByteArray chunk;
    for (int taken = 0; taken < kMaxDatagramsPerPass && m_udpSocket.hasPendingDatagrams(); ++taken) {
        bool fromOthers = false;
        chunk += takeOneDeviceDatagram(&fromOthers);
    }
    return chunk;
}

QByteArray DeviceChannel::receiveDeviceChunk(int timeoutMs, const std::atomic<bool> *stop)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_udpSocket.hasPendingDatagrams()) {
            const QByteArray chunk = takeDeviceDatagrams();
            if (!chunk.isEmpty())
                return chunk;
        }
        if (stopRequested(stop))
            return QByteArray();
        if (!sleepUntilReadable(m_udpSocket, timer, timeoutMs, stop ? kStopPollMs : -1)) {
            // Whatever landed right at the end still counts, as after a last poll.
            return m_udpSocket.hasPendingDatagrams() ? takeDeviceDatagrams() : QByteArray();
        }
    }
}

bool DeviceChannel::waitForSerialData(int timeoutMs, const std::atomic<bool> *stop)
{
    if (m_serialPort.bytesAvailable() > 0)
        return true;
    if (!stop)
        return m_serialPort.waitForReadyRead(timeoutMs) || m_serialPort.bytesAvailable() > 0;
    // In slices, so a stop is seen soon.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (stop->load())
            return false;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return false;
        const int slice = int(qMin<qint64>(left, kStopPollMs));
        QElapsedTimer waited;
        waited.start();
        m_serialPort.clearError();
        if (m_serialPort.waitForReadyRead(slice) || m_serialPort.bytesAvailable() > 0)
            return true;
        // A port that fails at once (the other end gone) gives up as an
        // unsliced wait would, and never spins.
        if (m_serialPort.error() != QSerialPort::TimeoutError && m_serialPort.error() != QSerialPort::NoError)
            return false;
        if (waited.elapsed() < slice)
            QThread::msleep(ulong(slice - waited.elapsed()));
    }
}

bool DeviceChannel::isFromDevice(const QHostAddress &sender, quint16 senderPort) const
{
    if (senderPort != m_port || m_hostAddress.isNull() || sender.isNull())
        return false;
    if (sender == m_hostAddress)
        return true;
    bool senderIsIpv4 = false;
    bool hostIsIpv4 = false;
    const quint32 senderIpv4 = sender.toIPv4Address(&senderIsIpv4);
    const quint32 hostIpv4 = m_hostAddress.toIPv4Address(&hostIsIpv4);
    if (senderIsIpv4 && hostIsIpv4 && senderIpv4 == hostIpv4)
        return true;
    const Q_IPV6ADDR senderIpv6 = sender.toIPv6Address();
    const Q_IPV6ADDR hostIpv6 = m_hostAddress.toIPv6Address();
    if (std::memcmp(senderIpv6.c, hostIpv6.c, sizeof senderIpv6.c) == 0)
        return true;
    return sender.protocol() == m_hostAddress.protocol() && sender.toString() == m_hostAddress.toString();
}

void waitWithEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the RTS settle time is a minimum.
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qMax(0, milliseconds));
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start();
    loop.exec();
}
