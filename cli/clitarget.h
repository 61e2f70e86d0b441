#pragma once

#include "link/commsettings.h"

#include <QString>
#include <QVector>

// One meter the command line talks to.
struct CliTarget
{
    QString name;
    LinkSettings link;
};

// "HOST:PORT" or "[IPv6]:PORT" into the UDP settings; empty on success,
// otherwise the message.
QString parseUdpTarget(const QString &text, LinkSettings *link);

// udp://HOST:PORT?address=N or serial:PORT?baud=N&address=N (also data-bits,
// parity, stop-bits, rts); empty on success, otherwise the message.
QString parseTargetUri(const QString &uri, LinkSettings *link);

// Serial frame options as the command line spells them; false when unknown.
bool parseDataBits(const QString &text, QSerialPort::DataBits *dataBits);
bool parseParity(const QString &text, QSerialPort::Parity *parity);
bool parseStopBits(const QString &text, QSerialPort::StopBits *stopBits);
bool parseDeviceAddress(const QString &text, quint8 *address);

// Longest line of a fleet file, line end not counted.
constexpr int kMaxTargetLineBytes = 4096;

// A fleet file: one meter a line, "NAME,URI"; blank lines and lines starting
// with # are skipped. Names must be plain file names and unique; a line over
// kMaxTargetLineBytes refuses the whole file. Empty on success, otherwise the
// message (with the line number).
QString readTargetsFile(const QString &path, QVector<CliTarget> *targets, bool *fileMissing);
