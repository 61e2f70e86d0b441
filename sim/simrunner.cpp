#include "sim/simrunner.h"

#include <QMetaObject>

SimRunner::SimRunner(const SimProfile &profile, const SimTransportOptions &options)
{
    m_thread.setObjectName(QStringLiteral("meter-sim"));
    m_sim = new MeterSim(profile);
    m_sim->moveToThread(&m_thread);
    m_thread.start();
    call([this, &options](MeterSim &sim) {
        m_started = sim.start(options, &m_error);
        m_udpPort = sim.udpPort();
        m_ptyPath = sim.ptyPath();
        m_address = sim.address();
    });
}

SimRunner::~SimRunner()
{
    // Delete the meter on its own thread, then join it.
    QMetaObject::invokeMethod(
        m_sim, [sim = m_sim] { delete sim; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void SimRunner::call(const std::function<void(MeterSim &)> &work) const
{
    MeterSim *sim = m_sim;
    if (QThread::currentThread() == sim->thread()) {
        work(*sim); // already on the meter's thread (e.g. from a responder)
        return;
    }
    QMetaObject::invokeMethod(
        sim, [sim, &work] { work(*sim); }, Qt::BlockingQueuedConnection);
}

void SimRunner::addFault(const SimFault &fault)
{
    call([&fault](MeterSim &sim) { sim.addFault(fault); });
}

void SimRunner::addFault(const QString &text)
{
    QString error;
    const SimFault fault = SimFault::parse(text, &error);
    Q_ASSERT_X(error.isEmpty(), "SimRunner::addFault", qPrintable(error));
    if (error.isEmpty())
        addFault(fault);
    else
        qWarning("%s", qPrintable(error));
}

void SimRunner::clearFaults()
{
    call([](MeterSim &sim) { sim.clearFaults(); });
}

void SimRunner::setVerbose(bool verbose)
{
    call([verbose](MeterSim &sim) { sim.setVerbose(verbose); });
}

void SimRunner::setChaos(const SimChaos &chaos)
{
    call([&chaos](MeterSim &sim) { sim.setChaos(chaos); });
}

void SimRunner::startEpisode(quint64 seed)
{
    call([seed](MeterSim &sim) { sim.startEpisode(seed); });
}

SimTruth SimRunner::truth() const
{
    SimTruth truth;
    call([&truth](MeterSim &sim) { truth = SimTruth::of(sim); });
    return truth;
}

SimState SimRunner::state() const
{
    SimState copy;
    call([&copy](MeterSim &sim) { copy = sim.state(); });
    return copy;
}

QList<SimItem> SimRunner::items() const
{
    return state().items;
}

void SimRunner::unplugPty()
{
    call([](MeterSim &sim) { sim.unplugPty(); });
}

bool SimRunner::plugPty()
{
    bool plugged = false;
    call([this, &plugged](MeterSim &sim) {
        plugged = sim.plugPty();
        m_ptyPath = sim.ptyPath();
    });
    return plugged;
}

void SimRunner::disappear()
{
    call([](MeterSim &sim) { sim.disappear(); });
}
