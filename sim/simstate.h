#pragma once

#include "sim/simprofile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>
#include <QVariantMap>

// The meter's changing state; lives on the meter's thread.
struct SimState
{
    QList<SimItem> items; // starts as the profile's items
    QStringList commandsRun; // names of command items triggered, in order

    // Clock: the last time set over the wire (invalid until set) and the
    // day of the week sent with it (1 Monday .. 7 Sunday).
    QDateTime clockSet;
    int clockDayOfWeek = 0;
    int clockSetCount = 0;
    QElapsedTimer sinceClockSet;
    // The meter's idea of now: the time set plus what has elapsed since,
    // or the PC's local time while never set.
    QDateTime now() const;

    // Free room for responders that want to share state with tests or
    // with each other; keys are prefixed with the feature ("debug/on").
    QVariantMap extra;
};
