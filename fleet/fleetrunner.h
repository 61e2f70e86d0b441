#pragma once

#include "link/commsettings.h"

#include <QVector>

#include <atomic>
#include <functional>

// How one meter of a fleet run ended.
enum class FleetOutcome {
    Done,
    Failed,
    Skipped, // the job looked and left the meter alone (e.g. another model)
    NotStarted, // stopped, or too many failures before its turn
};

struct FleetLimits
{
    int parallel = 8; // lanes served at once
    int maxFailures = 0; // no new meter starts after this many failures; 0: no limit
    const std::atomic_bool *stop = nullptr; // no new meter starts once set
};

// Serves a fleet: every UDP meter is a lane of its own, the meters of one
// serial device share one lane and are served one after the other; up to
// `parallel` lanes at once. The job runs on a worker thread (one per lane at
// a time), so whatever talks to the meter must be made inside it. Outcomes
// come back in the order of the links.
class FleetRunner
{
public:
    using Job = std::function<FleetOutcome(int index)>;

    static QVector<QVector<int>> lanes(const QVector<LinkSettings> &links);
    static QVector<FleetOutcome> run(const QVector<LinkSettings> &links, const FleetLimits &limits, const Job &job);
};
