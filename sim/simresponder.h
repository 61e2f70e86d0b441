#pragma once

#include "sim/simchaos.h"
#include "sim/simfault.h"
#include "sim/simrequest.h"

#include <QByteArray>
#include <QList>

#include <memory>

class MeterSim;
struct SimProfile;
struct SimState;

// Handed to a responder for one request. Everything a responder sends for
// the request goes through here, so the fault rules can spoil it. Sending
// happens after `handle` returns (immediately unless a delay was given).
class SimContext
{
public:
    SimContext(MeterSim &sim, const SimRequest &request);

    MeterSim &sim() { return m_sim; }
    const SimRequest &request() const { return m_request; }
    const SimProfile &profile() const;
    SimState &state();
    quint8 address() const; // the meter's own address
    // Chaos mode: the meter model's settings (null when off) and what this
    // write is to meet (Honest otherwise).
    const SimChaos *chaos() const;
    SimWriteBehaviour writeBehaviour() const { return m_writeBehaviour; }
    void setWriteBehaviour(SimWriteBehaviour behaviour) { m_writeBehaviour = behaviour; }

    void reply(const QByteArray &bytes) { replyLater(0, bytes); }
    void replyLater(int delayMs, const QByteArray &bytes);
    // Pieces sent `delayMs` apart, the first at once.
    void replyChunks(const QList<QByteArray> &chunks, int delayMs);
    // Address-frame answer addr 03 n payload crc with the meter's address.
    void replyAddressAnswer(const QByteArray &payload);

    const QList<SimOutput> &outputs() const { return m_outputs; }

private:
    MeterSim &m_sim;
    SimRequest m_request;
    QList<SimOutput> m_outputs;
    SimWriteBehaviour m_writeBehaviour = SimWriteBehaviour::Honest;
};

// One feature of the meter. Responders are asked in registry order (see
// sim/responders.def); the first whose `handle` returns true owns the request.
// A request nobody handles gets no answer.
class SimResponder
{
public:
    virtual ~SimResponder() = default;
    virtual const char *name() const = 0;
    // Once, on the meter's thread, after its transports are open; may open
    // extra sockets (parent them to `sim`) or start timers.
    virtual void attach(MeterSim &sim) { }
    // Before the meter closes; stop timers here.
    virtual void detach(MeterSim &sim) { }
    virtual bool handle(const SimRequest &request, SimContext &context) = 0;
};

using SimResponderList = std::vector<std::unique_ptr<SimResponder>>;
