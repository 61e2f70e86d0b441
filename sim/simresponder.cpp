#include "sim/simresponder.h"

#include "sim/metersim.h"
#include "sim/simframe.h"

SimContext::SimContext(MeterSim &sim, const SimRequest &request)
    : m_sim(sim)
    , m_request(request)
{
}

const SimProfile &SimContext::profile() const
{
    return m_sim.profile();
}

SimState &SimContext::state()
{
    return m_sim.state();
}

const SimChaos *SimContext::chaos() const
{
    return m_sim.chaos();
}

quint8 SimContext::address() const
{
    return m_sim.address();
}

void SimContext::replyLater(int delayMs, const QByteArray &bytes)
{
    SimOutput output;
    output.delayMs = qMax(0, delayMs);
    output.bytes = bytes;
    m_outputs.append(output);
}

void SimContext::replyChunks(const QList<QByteArray> &chunks, int delayMs)
{
    for (int i = 0; i < chunks.size(); ++i)
        replyLater(i * delayMs, chunks.at(i));
}

void SimContext::replyAddressAnswer(const QByteArray &payload)
{
    reply(simAddressAnswer(address(), payload));
}
