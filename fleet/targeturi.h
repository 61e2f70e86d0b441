#pragma once

#include "link/commsettings.h"

#include <QSerialPort>
#include <QString>

// How a fleet file and the command line spell one meter's connection:
// udp://HOST:PORT?address=N or serial:PORT?baud=N&address=N (also data-bits,
// parity, stop-bits, rts).

// "HOST:PORT" or "[IPv6]:PORT" into the UDP settings; empty on success,
// otherwise the message.
QString parseUdpTarget(const QString &text, LinkSettings *link);

// A whole URI; empty on success, otherwise the message.
QString parseTargetUri(const QString &uri, LinkSettings *link);

// The URI parseTargetUri reads back into the same settings; serial frame
// options are written only when they are not the defaults.
QString targetUri(const LinkSettings &link);

// A UDP address that reaches more than one meter (limited or a local
// network's broadcast, multicast) or none (0.0.0.0, ::).
bool isGroupAddress(const QString &host);

// Serial frame options as the command line spells them; false when unknown.
bool parseDataBits(const QString &text, QSerialPort::DataBits *dataBits);
bool parseParity(const QString &text, QSerialPort::Parity *parity);
bool parseStopBits(const QString &text, QSerialPort::StopBits *stopBits);
bool parseDeviceAddress(const QString &text, quint8 *address);
