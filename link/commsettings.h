#pragma once

#include <QString>

class QSettings;

// The serial line as the setup dialog stores it; the numbers are the serial
// port's enumeration values, handed to it unchanged.
struct SerialSettings
{
    QString port;
    int baudRate = 9600;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 1;
    bool sendRts = false;
    bool sendDtr = false;
};

struct UdpSettings
{
    QString address;
    QString port;
};

// Everything a channel needs to reach one meter: the way (UDP or serial), the
// device address and that way's parameters. config.ini holds one of these;
// the command line builds others from its arguments.
// "8N1", "7E2", "8O1.5": data bits, parity letter, stop bits.
QString serialFrameText(const SerialSettings &serial);

struct LinkSettings
{
    bool useUdp = false;
    quint8 deviceAddress = 255;
    SerialSettings serial;
    UdpSettings udp;

    // "udp 127.0.0.1:47800" or "serial /dev/ttyUSB0 9600 8N1", for records.
    QString describe() const;
};

// The connection as stored in config.ini (missing keys give their defaults).
LinkSettings readLinkSettings(const QSettings &settings);
// Stores the device address and the chosen way's group (see below).
void writeLinkSettings(QSettings &settings, const LinkSettings &link);
void writeDeviceAddress(QSettings &settings, int address);

// device/address with its low eight bits kept.
quint8 readDeviceAddress(const QSettings &settings);
// serial/port is empty when the key is missing; hasSerialPort tells.
SerialSettings readSerialSettings(const QSettings &settings);
bool hasSerialPort(const QSettings &settings);
UdpSettings readUdpSettings(const QSettings &settings);
bool readUseUdp(const QSettings &settings);

// Each write touches only its own group and communicate/udp, so the keys of
// the other way of connecting stay as they were.
void writeSerialSettings(QSettings &settings, const SerialSettings &serial);
void writeUdpSettings(QSettings &settings, const UdpSettings &udp);

// Empty when the choice can be stored, otherwise the message to show
// (context "SetupDialog").
QString serialSettingsError(const QString &port, const QString &baudText);
QString udpSettingsError(const QString &address, const QString &port);

// Dotted-quad IPv4 (four decimal parts 0..255) or a textual IPv6 address.
bool isUdpAddressText(const QString &text);
