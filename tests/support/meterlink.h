#pragma once

#include "base/settings.h"
#include "link/commsettings.h"
#include "sim/simrunner.h"

// The one way tests and the bench reach a simulated meter: its connection
// over loopback UDP or its pseudo-terminal, at the meter's address.
inline LinkSettings meterLink(const SimRunner &meter, bool udp)
{
    return udp ? LinkSettings::overUdp(QStringLiteral("127.0.0.1"), meter.udpPort(), meter.address())
               : LinkSettings::overSerial(meter.ptyPath(), meter.address());
}

// Points the program's config.ini at the meter, as the setup dialog would.
inline void connectToMeter(const SimRunner &meter, bool udp)
{
    storeLinkSettings(meterLink(meter, udp));
}
