#pragma once

#include "link/commsettings.h"

#include <QString>

class QSettings;

// Where the link goes, in one line for the status bar and for messages:
// "UDP 127.0.0.1:47800 · 地址 255" or "/dev/ttyUSB0 9600 8N1 · 地址 1".
QString connectionTargetText(bool useUdp, const SerialSettings &serial, const UdpSettings &udp, quint8 address);
// The same for one connection's settings.
QString connectionTargetText(const LinkSettings &link);
// The same for the settings stored now.
QString connectionTargetText(const QSettings &settings);
