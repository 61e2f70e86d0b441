#pragma once

#include "sim/metersim.h"
#include "sim/simtruth.h"

#include <QThread>

#include <functional>

// Runs one MeterSim on a thread of its own, for in-process tests: the
// program's channel blocks its thread while it waits, so the meter must not
// share it. Accessors may be called from any thread. The destructor stops
// the meter (closing its pty and sockets) and joins the thread.
class SimRunner
{
public:
    explicit SimRunner(
        const SimProfile &profile = SimProfile::demo(), const SimTransportOptions &options = SimTransportOptions());
    ~SimRunner();

    SimRunner(const SimRunner &) = delete;
    SimRunner &operator=(const SimRunner &) = delete;

    bool isStarted() const { return m_started; }
    QString errorText() const { return m_error; }

    quint16 udpPort() const { return m_udpPort; }
    QString ptyPath() const { return m_ptyPath; }
    quint8 address() const { return m_address; }

    QList<QByteArray> receivedFrames() const { return m_sim->receivedFrames(); }
    QList<SimRequest> receivedRequests() const { return m_sim->receivedRequests(); }
    QByteArray receivedGarbage() const { return m_sim->receivedGarbage(); }
    QByteArray receivedBytes() const { return m_sim->receivedBytes(); }
    void clearReceived() { m_sim->clearReceived(); }
    bool waitForFrames(int count, int timeoutMs = 5000) const { return m_sim->waitForFrames(count, timeoutMs); }

    void addFault(const SimFault &fault);
    void addFault(const QString &text); // SimFault::parse form; asserts it parses
    void clearFaults();
    void setVerbose(bool verbose);
    // Chaos mode; see MeterSim::setChaos and MeterSim::startEpisode.
    void setChaos(const SimChaos &chaos);
    void startEpisode(quint64 seed);
    SimTruth truth() const;

    // Runs `work` on the meter's thread and waits for it: the way to read or
    // change state (items, clock, responders' own state) safely.
    void call(const std::function<void(MeterSim &)> &work) const;
    SimState state() const; // a copy
    QList<SimItem> items() const;
    void disappear();
    // The pty's cable pulled and plugged back (see MeterSim::unplugPty).
    void unplugPty();
    bool plugPty();

    MeterSim *sim() const { return m_sim; }

private:
    QThread m_thread;
    MeterSim *m_sim = nullptr;
    bool m_started = false;
    QString m_error;
    quint16 m_udpPort = 0;
    QString m_ptyPath;
    quint8 m_address = 255;
};
