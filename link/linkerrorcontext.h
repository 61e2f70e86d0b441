#pragma once

#include <QString>

class DeviceChannel;

// A link failure told with what a technician needs to act on it. The
// failure's own text stays the first line; for a time-out or a port that did
// not open, a second line names the target (connection and device address)
// and what to check, after the system's reason when one is known. Other
// texts come back unchanged.
QString withLinkContext(const QString &error, const QString &target, const QString &systemReason = QString());
// The same for a failure on this channel: the target it was opened for,
// the reason from its serial port or socket.
QString withLinkContext(const QString &error, const DeviceChannel &channel);
// The same where only the text is at hand (a worker's message).
QString withLinkContext(const QString &error);
