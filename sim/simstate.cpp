#include "sim/simstate.h"

QDateTime SimState::now() const
{
    if (!clockSet.isValid())
        return QDateTime::currentDateTime();
    return clockSet.addMSecs(sinceClockSet.isValid() ? sinceClockSet.elapsed() : 0);
}
