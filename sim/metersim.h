#pragma once

#include "sim/simchaos.h"
#include "sim/simfault.h"
#include "sim/simframer.h"
#include "sim/simprofile.h"
#include "sim/simresponder.h"
#include "sim/simstate.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <optional>

class QSerialPort;
class QTimer;
class QUdpSocket;
class SimPty;

struct SimTransportOptions
{
    bool udp = true;
    QHostAddress udpAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 udpPort = 0; // 0: ephemeral, see MeterSim::udpPort
    bool pty = false; // a fresh pseudo-terminal; the program opens MeterSim::ptyPath
    // With pty: a symbolic link made here to the pty, the name a program
    // opens so the line can be unplugged and plugged back under it.
    QString ptyLink;
    QString serialDevice; // a real serial device, optional
    qint32 baudRate = 9600;
};

// One simulated meter. A QObject that lives on one thread: create it there
// (or move it there) and call `start` there; every socket, the pty and every
// responder belong to that thread. The recorded frames are readable from any
// thread; everything else only on the meter's thread (SimRunner hops there).
class MeterSim : public QObject
{
    Q_OBJECT
public:
    explicit MeterSim(const SimProfile &profile, QObject *parent = nullptr);
    ~MeterSim() override;

    // Opens the transports and attaches the responders. False with an error text.
    bool start(const SimTransportOptions &options, QString *error = nullptr);
    // Detaches the responders and closes every transport; safe to call twice.
    void stop();

    const SimProfile &profile() const { return m_profile; }
    SimState &state() { return m_state; }
    quint8 address() const { return m_profile.address; }

    quint16 udpPort() const;
    QHostAddress udpAddress() const;
    QString ptyPath() const;
    QUdpSocket *udpSocket() const { return m_udp; }
    bool isOpen() const;

    void setVerbose(bool verbose) { m_verbose = verbose; }
    void addFault(const SimFault &fault);
    void clearFaults();

    // Chaos mode (see SimChaos): every request meets the seeded misbehaviours.
    void setChaos(const SimChaos &chaos);
    void clearChaos();
    const SimChaos *chaos() const { return m_chaos ? &*m_chaos : nullptr; }
    // The requests that met chaos since the episode began (the latest
    // kChaosEventsKept), in order.
    QList<SimChaosEvent> chaosEvents() const { return m_chaosEvents; }
    static constexpr int kChaosEventsKept = 1000;
    // A fresh episode: the profile's items, no clock set, no firmware, nothing
    // queued or held, nothing recorded, and the chaos counted from 0 under
    // the new seed.
    void startEpisode(quint64 seed);
    // Answers held back for later requests, copies included.
    int heldAnswers() const { return m_held.size(); }

    // The responder of the given type, or null (for tests and responders that cooperate).
    template<class T> T *responder() const
    {
        for (const auto &r : m_responders)
            if (auto *t = dynamic_cast<T *>(r.get()))
                return t;
        return nullptr;
    }

    // Bytes the meter sends without being asked (debug lines): to the last UDP
    // peer that sent a request, and to the pty / serial line. No fault applies.
    void sendUnsolicited(const QByteArray &bytes);
    // A datagram from the meter's own UDP socket to any peer (search replies
    // come from the meter's exchange port so the program stores that port).
    void sendDatagram(const QByteArray &bytes, const QHostAddress &to, quint16 port);
    // The meter disappears: every transport closes now.
    void disappear();
    // The pty's cable is pulled: the pty closes (the program's port fails)
    // and its link goes. Plugging it back opens a fresh pty behind the link.
    void unplugPty();
    bool plugPty(QString *error = nullptr);

    // Thread-safe record of what arrived.
    QList<SimRequest> receivedRequests() const;
    QList<QByteArray> receivedFrames() const;
    QByteArray receivedGarbage() const;
    // Every byte that arrived, in order, framed or not (the last
    // kReceivedBytesKept), across datagrams and plugs.
    QByteArray receivedBytes() const;
    static constexpr int kReceivedBytesKept = 1024 * 1024;
    void clearReceived();
    // Blocks until at least `count` frames were received in total (since the
    // last clearReceived) or the time ran out; processes the caller's events
    // meanwhile if it has an event dispatcher.
    bool waitForFrames(int count, int timeoutMs) const;

    // Feeds bytes as if received on `transport` (used by the transports).
    void receive(
        const QByteArray &bytes, SimRequest::Transport transport, const QHostAddress &peer = {}, quint16 peerPort = 0);

signals:
    void requestReceived(const SimRequest &request);
    // After the meter acted on the request (its state is final for it).
    void requestHandled(const SimRequest &request);
    void disappeared();

private:
    void onUdpReadyRead();
    void onSerialReadyRead();
    void handle(SimRequest request);
    // Sends what was held for the request that just arrived; true if anything went.
    bool releaseHeld();
    // Applies the plan to the outputs; held answers and copies wait in m_held.
    QList<SimOutput> applyChaos(const SimRequest &request, const SimChaosPlan &plan, const QList<SimOutput> &outputs);
    void send(const SimRequest &request, const SimOutput &output);
    void enqueue(const SimRequest &request, const SimOutput &output);
    void sendDue();
    void armSendTimer();
    void sendNow(SimRequest::Transport transport, const QHostAddress &peer, quint16 peerPort, const QByteArray &bytes,
        bool fromOtherPort);
    void log(const char *direction, const QByteArray &bytes) const;
    void recordGarbage(const QByteArray &bytes);
    void flushStreams();
    QUdpSocket *otherPortSocket();

    SimProfile m_profile;
    SimState m_state;
    SimResponderList m_responders;
    QList<SimFault> m_faults;
    QList<int> m_faultSeen; // matching requests per fault rule
    SimFramer m_ptyFramer;
    SimFramer m_serialFramer;
    QTimer *m_quietTimer = nullptr; // drops a partial frame after a quiet gap
    // Delayed outputs, in the order they are due (then in the order made).
    struct QueuedOutput
    {
        qint64 dueMs;
        SimRequest request;
        SimOutput output;
    };
    QList<QueuedOutput> m_queue;
    // Answers waiting for a number of later requests to arrive.
    struct HeldOutput
    {
        int requestsLeft;
        SimRequest request;
        SimOutput output;
    };
    QList<HeldOutput> m_held;
    std::optional<SimChaos> m_chaos;
    QList<SimChaosEvent> m_chaosEvents;
    QTimer *m_sendTimer = nullptr;
    QElapsedTimer m_clock;
    QUdpSocket *m_udp = nullptr;
    QUdpSocket *m_otherPortUdp = nullptr;
    SimPty *m_pty = nullptr;
    QSerialPort *m_serial = nullptr;
    QHostAddress m_lastPeer;
    quint16 m_lastPeerPort = 0;
    bool m_verbose = false;
    bool m_started = false;
    int m_sequence = 0;

    mutable QMutex m_recordMutex;
    mutable QWaitCondition m_recordChanged;
    QList<SimRequest> m_received;
    QByteArray m_garbage;
    QByteArray m_bytes;
    QString m_ptyLink;
};
