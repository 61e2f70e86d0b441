#pragma once

#include "sim/firmwareresponder.h"
#include "sim/simchaos.h"
#include "sim/simprofile.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QStringList>

class MeterSim;

// What the meter really holds, whatever it answered: the ground truth that a
// test or a soak holds the program's words against.
struct SimTruth
{
    QList<SimItem> items;
    QStringList commandsRun;
    QDateTime clockSet; // invalid until set
    int clockSetCount = 0;
    SimFirmwareRecord firmware;
    QList<SimChaosEvent> chaos; // the requests that met chaos this episode
    int requests = 0; // received this episode, lost ones included

    // Read on the meter's thread.
    static SimTruth of(MeterSim &sim);
    QJsonObject toJson() const;
};
