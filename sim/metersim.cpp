#include "sim/metersim.h"

#include "sim/simframe.h"
#include "sim/simpty.h"
#include "sim/simregistry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QSerialPort>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace {
// A partial frame that sits this long without more bytes is garbage.
constexpr int kQuietFlushMs = 500;
// An answer that follows one released for its request keeps this far behind
// it, so the two stay apart on a serial line as they do in datagrams.
constexpr int kAfterReleasedMs = 80;
// Held answers beyond this are dropped, oldest first: memory stays bounded
// whatever the rates.
constexpr int kMaxHeld = 256;

QString requestText(const SimRequest &request)
{
    int index = -1;
    const QString kind = SimChaos::kindOf(request, &index);
    return index >= 0 ? QStringLiteral("%1[%2]").arg(kind).arg(index) : kind;
}
} // namespace

MeterSim::MeterSim(const SimProfile &profile, QObject *parent)
    : QObject(parent)
    , m_profile(profile)
{
    qRegisterMetaType<SimRequest>();
    m_state.items = profile.items;
}

MeterSim::~MeterSim()
{
    stop();
}

bool MeterSim::start(const SimTransportOptions &options, QString *error)
{
    auto fail = [this, error](const QString &text) {
        if (error)
            *error = text;
        stop();
        return false;
    };
    stop();
    m_responders = createSimResponders();
    m_quietTimer = new QTimer(this);
    m_quietTimer->setSingleShot(true);
    m_quietTimer->setInterval(kQuietFlushMs);
    connect(m_quietTimer, &QTimer::timeout, this, &MeterSim::flushStreams);
    // One precise timer serves every delayed output in due order: timers of
    // their own would turn coarse past 2 s and could fire out of order.
    m_sendTimer = new QTimer(this);
    m_sendTimer->setSingleShot(true);
    m_sendTimer->setTimerType(Qt::PreciseTimer);
    connect(m_sendTimer, &QTimer::timeout, this, &MeterSim::sendDue);
    m_clock.start();

    if (options.udp) {
        m_udp = new QUdpSocket(this);
        if (!m_udp->bind(options.udpAddress, options.udpPort))
            return fail(QStringLiteral("udp %1:%2: %3")
                            .arg(options.udpAddress.toString())
                            .arg(options.udpPort)
                            .arg(m_udp->errorString()));
        connect(m_udp, &QUdpSocket::readyRead, this, &MeterSim::onUdpReadyRead);
    }
    if (options.pty) {
        m_ptyLink = options.ptyLink;
        QString ptyError;
        if (!plugPty(&ptyError))
            return fail(ptyError);
    }
    if (!options.serialDevice.isEmpty()) {
        m_serial = new QSerialPort(options.serialDevice, this);
        if (!m_serial->open(QIODevice::ReadWrite))
            return fail(QStringLiteral("serial %1: %2").arg(options.serialDevice, m_serial->errorString()));
        m_serial->setBaudRate(options.baudRate);
        m_serial->setDataBits(QSerialPort::Data8);
        m_serial->setParity(QSerialPort::NoParity);
        m_serial->setStopBits(QSerialPort::OneStop);
        m_serial->setFlowControl(QSerialPort::NoFlowControl);
        connect(m_serial, &QSerialPort::readyRead, this, &MeterSim::onSerialReadyRead);
    }
    m_started = true;
    for (const auto &responder : m_responders)
        responder->attach(*this);
    if (error)
        error->clear();
    return true;
}

bool MeterSim::plugPty(QString *error)
{
    unplugPty();
    m_pty = new SimPty(this);
    if (!m_pty->open(error))
        return false;
    connect(m_pty, &SimPty::received, this, [this](const QByteArray &bytes) { receive(bytes, SimRequest::Pty); });
    if (!m_ptyLink.isEmpty() && !QFile::link(m_pty->slavePath(), m_ptyLink)) {
        if (error)
            *error = QStringLiteral("link %1 -> %2").arg(m_ptyLink, m_pty->slavePath());
        return false;
    }
    return true;
}

void MeterSim::unplugPty()
{
    if (!m_ptyLink.isEmpty())
        QFile::remove(m_ptyLink);
    m_ptyFramer.flush();
    if (m_pty) {
        m_pty->close();
        m_pty->deleteLater();
        m_pty = nullptr;
    }
}

void MeterSim::stop()
{
    if (m_started) {
        m_started = false;
        for (const auto &responder : m_responders)
            responder->detach(*this);
    }
    if (m_quietTimer)
        m_quietTimer->stop();
    if (m_sendTimer)
        m_sendTimer->stop();
    m_queue.clear();
    m_held.clear();
    if (m_udp) {
        m_udp->close();
        m_udp->deleteLater();
        m_udp = nullptr;
    }
    if (m_otherPortUdp) {
        m_otherPortUdp->close();
        m_otherPortUdp->deleteLater();
        m_otherPortUdp = nullptr;
    }
    unplugPty();
    if (m_serial) {
        m_serial->close();
        m_serial->deleteLater();
        m_serial = nullptr;
    }
}

quint16 MeterSim::udpPort() const
{
    return m_udp ? m_udp->localPort() : 0;
}

QHostAddress MeterSim::udpAddress() const
{
    return m_udp ? m_udp->localAddress() : QHostAddress();
}

QString MeterSim::ptyPath() const
{
    return m_pty ? m_pty->slavePath() : QString();
}

bool MeterSim::isOpen() const
{
    return m_udp || m_pty || m_serial;
}

void MeterSim::addFault(const SimFault &fault)
{
    m_faults.append(fault);
    m_faultSeen.append(0);
}

void MeterSim::clearFaults()
{
    m_faults.clear();
    m_faultSeen.clear();
}

void MeterSim::setChaos(const SimChaos &chaos)
{
    m_chaos = chaos;
    m_chaosEvents.clear();
}

void MeterSim::clearChaos()
{
    m_chaos.reset();
    m_held.clear();
}

void MeterSim::startEpisode(quint64 seed)
{
    m_state = SimState();
    m_state.items = m_profile.items;
    m_queue.clear();
    if (m_sendTimer)
        m_sendTimer->stop();
    m_held.clear();
    m_chaosEvents.clear();
    m_ptyFramer.flush();
    m_serialFramer.flush();
    m_ptyFramer.takeGarbage();
    m_serialFramer.takeGarbage();
    if (m_chaos)
        m_chaos->restart(seed);
    clearReceived();
}

void MeterSim::onUdpReadyRead()
{
    while (m_udp && m_udp->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udp->receiveDatagram();
        receive(
            datagram.data(), SimRequest::Udp, datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
    }
}

void MeterSim::onSerialReadyRead()
{
    if (m_serial)
        receive(m_serial->readAll(), SimRequest::Serial);
}

void MeterSim::receive(
    const QByteArray &bytes, SimRequest::Transport transport, const QHostAddress &peer, quint16 peerPort)
{
    {
        QMutexLocker lock(&m_recordMutex);
        m_bytes.append(bytes);
        if (m_bytes.size() > kReceivedBytesKept)
            m_bytes.remove(0, m_bytes.size() - kReceivedBytesKept);
    }
    QList<SimRequest> requests;
    if (transport == SimRequest::Udp) {
        // A request never spans datagrams: frame each one on its own.
        SimFramer framer;
        requests = framer.feed(bytes);
        framer.flush();
        const QByteArray garbage = framer.takeGarbage();
        if (!garbage.isEmpty())
            recordGarbage(garbage);
    } else {
        SimFramer &framer = transport == SimRequest::Pty ? m_ptyFramer : m_serialFramer;
        requests = framer.feed(bytes);
        const QByteArray garbage = framer.takeGarbage();
        if (!garbage.isEmpty())
            recordGarbage(garbage);
        if (!framer.pending().isEmpty() && m_quietTimer)
            m_quietTimer->start();
    }
    if (m_verbose && requests.isEmpty())
        log("rx?", bytes);
    for (SimRequest request : requests) {
        request.transport = transport;
        request.peerAddress = peer;
        request.peerPort = peerPort;
        {
            QMutexLocker lock(&m_recordMutex);
            request.sequence = m_sequence++;
            m_received.append(request);
            m_recordChanged.wakeAll();
        }
        emit requestReceived(request);
        handle(request);
    }
}

void MeterSim::flushStreams()
{
    m_ptyFramer.flush();
    m_serialFramer.flush();
    const QByteArray garbage = m_ptyFramer.takeGarbage() + m_serialFramer.takeGarbage();
    if (!garbage.isEmpty())
        recordGarbage(garbage);
}

void MeterSim::recordGarbage(const QByteArray &bytes)
{
    if (m_verbose)
        log("junk", bytes);
    QMutexLocker lock(&m_recordMutex);
    m_garbage.append(bytes);
}

void MeterSim::handle(SimRequest request)
{
    log("rx", request.bytes);
    if (request.transport == SimRequest::Udp) {
        m_lastPeer = request.peerAddress;
        m_lastPeerPort = request.peerPort;
    }

    const bool released = releaseHeld();
    SimChaosPlan plan;
    if (m_chaos) {
        plan = m_chaos->decide(request);
        if (!plan.isClean()) {
            m_chaosEvents.append(SimChaosEvent { m_chaos->requestsSeen() - 1, requestText(request), plan.describe() });
            if (m_chaosEvents.size() > kChaosEventsKept)
                m_chaosEvents.removeFirst();
            if (m_verbose)
                std::fprintf(stderr, "[meter %u] chaos %s: %s\n", unsigned(m_profile.address),
                    qPrintable(m_chaosEvents.last().request), qPrintable(plan.describe().join(QLatin1Char(' '))));
        }
    }

    // Every rule counts the requests it matches; the first one active now applies.
    int active = -1;
    for (int i = 0; i < m_faults.size(); ++i) {
        const SimFault &fault = m_faults.at(i);
        if (!fault.matches(request))
            continue;
        const int seen = m_faultSeen[i]++;
        if (active < 0 && seen >= fault.after && (fault.times < 0 || seen < fault.after + fault.times))
            active = i;
    }

    SimContext context(*this, request);
    context.setWriteBehaviour(plan.write);
    const bool forOthers = request.family == SimRequest::AddressFrame && request.address != m_profile.address;
    // A lost request never reaches the meter: no effect, no answer.
    const bool lost = (active >= 0 && m_faults.at(active).kind == SimFault::Lost) || plan.loseRequest;
    if (!forOthers && !lost) {
        for (const auto &responder : m_responders) {
            if (responder->handle(request, context))
                break;
        }
    }
    QList<SimOutput> outputs = context.outputs();
    const bool vanish = active >= 0 && m_faults.at(active).kind == SimFault::Disappear;
    if (active >= 0)
        outputs = simApplyFault(m_faults.at(active), outputs, m_profile.address);
    if (m_chaos)
        outputs = applyChaos(request, plan, outputs);
    for (SimOutput &output : outputs) {
        if (released)
            output.delayMs = qMax(output.delayMs, kAfterReleasedMs);
        if (output.delayMs <= 0)
            send(request, output);
        else
            enqueue(request, output);
    }
    if (vanish)
        disappear();
    emit requestHandled(request);
}

QList<SimOutput> MeterSim::applyChaos(
    const SimRequest &request, const SimChaosPlan &plan, const QList<SimOutput> &outputs)
{
    QList<SimOutput> spoilt = SimChaos::spoil(plan, outputs);
    if (spoilt.isEmpty() || (plan.copyAtRequest <= 0 && plan.deferToRequest <= 0))
        return spoilt;
    // Held answers go out when their request arrives, keeping their own spacing.
    int first = spoilt.first().delayMs;
    for (const SimOutput &output : qAsConst(spoilt))
        first = qMin(first, output.delayMs);
    const auto hold = [&](int requests) {
        for (SimOutput output : qAsConst(spoilt)) {
            output.delayMs -= first;
            m_held.append(HeldOutput { requests, request, output });
        }
        while (m_held.size() > kMaxHeld)
            m_held.removeFirst();
    };
    if (plan.copyAtRequest > 0)
        hold(plan.copyAtRequest);
    if (plan.deferToRequest > 0) {
        hold(plan.deferToRequest);
        return {};
    }
    return spoilt;
}

bool MeterSim::releaseHeld()
{
    bool any = false;
    QList<HeldOutput> waiting;
    for (HeldOutput &held : m_held) {
        if (--held.requestsLeft > 0) {
            waiting.append(held);
            continue;
        }
        any = true;
        if (held.output.delayMs <= 0)
            send(held.request, held.output);
        else
            enqueue(held.request, held.output);
    }
    m_held = waiting;
    return any;
}

void MeterSim::enqueue(const SimRequest &request, const SimOutput &output)
{
    const qint64 due = m_clock.elapsed() + qMax(0, output.delayMs);
    // After everything due no later: equal times keep the order they were made in.
    int at = m_queue.size();
    while (at > 0 && m_queue.at(at - 1).dueMs > due)
        --at;
    m_queue.insert(at, QueuedOutput { due, request, output });
    armSendTimer();
}

void MeterSim::sendDue()
{
    while (!m_queue.isEmpty() && m_queue.first().dueMs <= m_clock.elapsed()) {
        const QueuedOutput next = m_queue.takeFirst();
        send(next.request, next.output);
    }
    armSendTimer();
}

void MeterSim::armSendTimer()
{
    if (!m_sendTimer || m_queue.isEmpty())
        return;
    m_sendTimer->start(int(qMax<qint64>(0, m_queue.first().dueMs - m_clock.elapsed())));
}

void MeterSim::send(const SimRequest &request, const SimOutput &output)
{
    sendNow(request.transport, request.peerAddress, request.peerPort, output.bytes, output.fromOtherPort);
}

QUdpSocket *MeterSim::otherPortSocket()
{
    if (!m_otherPortUdp && m_udp) {
        m_otherPortUdp = new QUdpSocket(this);
        if (!m_otherPortUdp->bind(m_udp->localAddress(), 0)) {
            delete m_otherPortUdp;
            m_otherPortUdp = nullptr;
        }
    }
    return m_otherPortUdp;
}

void MeterSim::sendNow(SimRequest::Transport transport, const QHostAddress &peer, quint16 peerPort,
    const QByteArray &bytes, bool fromOtherPort)
{
    if (bytes.isEmpty())
        return;
    switch (transport) {
    case SimRequest::Udp: {
        QUdpSocket *socket = fromOtherPort ? otherPortSocket() : m_udp;
        if (socket) {
            log(fromOtherPort ? "tx(other port)" : "tx", bytes);
            socket->writeDatagram(bytes, peer, peerPort);
        }
        break;
    }
    case SimRequest::Pty:
        if (m_pty && m_pty->isOpen()) {
            log("tx", bytes);
            m_pty->write(bytes);
        }
        break;
    case SimRequest::Serial:
        if (m_serial && m_serial->isOpen()) {
            log("tx", bytes);
            m_serial->write(bytes);
        }
        break;
    }
}

void MeterSim::sendUnsolicited(const QByteArray &bytes)
{
    if (m_udp && !m_lastPeer.isNull())
        sendNow(SimRequest::Udp, m_lastPeer, m_lastPeerPort, bytes, false);
    if (m_pty)
        sendNow(SimRequest::Pty, {}, 0, bytes, false);
    if (m_serial)
        sendNow(SimRequest::Serial, {}, 0, bytes, false);
}

void MeterSim::sendDatagram(const QByteArray &bytes, const QHostAddress &to, quint16 port)
{
    if (m_udp) {
        log("tx", bytes);
        m_udp->writeDatagram(bytes, to, port);
    }
}

void MeterSim::disappear()
{
    if (m_verbose)
        std::fprintf(stderr, "[meter %u] disappears\n", unsigned(m_profile.address));
    stop();
    emit disappeared();
}

void MeterSim::log(const char *direction, const QByteArray &bytes) const
{
    if (!m_verbose)
        return;
    std::fprintf(stderr, "[meter %u] %s %s\n", unsigned(m_profile.address), direction, qPrintable(simHex(bytes)));
    std::fflush(stderr);
}

QList<SimRequest> MeterSim::receivedRequests() const
{
    QMutexLocker lock(&m_recordMutex);
    return m_received;
}

QList<QByteArray> MeterSim::receivedFrames() const
{
    QMutexLocker lock(&m_recordMutex);
    QList<QByteArray> frames;
    for (const SimRequest &request : m_received)
        frames.append(request.bytes);
    return frames;
}

QByteArray MeterSim::receivedGarbage() const
{
    QMutexLocker lock(&m_recordMutex);
    return m_garbage;
}

QByteArray MeterSim::receivedBytes() const
{
    QMutexLocker lock(&m_recordMutex);
    return m_bytes;
}

void MeterSim::clearReceived()
{
    QMutexLocker lock(&m_recordMutex);
    m_received.clear();
    m_garbage.clear();
    m_bytes.clear();
}

bool MeterSim::waitForFrames(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    QThread *current = QThread::currentThread();
    const bool pumpEvents = current->eventDispatcher() != nullptr;
    QMutexLocker lock(&m_recordMutex);
    while (m_received.size() < count) {
        if (deadline.hasExpired())
            return false;
        if (pumpEvents) {
            lock.unlock();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            lock.relock();
            if (m_received.size() >= count)
                break;
            if (current != thread())
                m_recordChanged.wait(&m_recordMutex, 5);
        } else {
            m_recordChanged.wait(&m_recordMutex, deadline);
        }
    }
    return true;
}
