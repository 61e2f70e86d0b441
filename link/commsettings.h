#pragma once

#include <QSerialPort>
#include <QString>

class QSettings;

// The serial line. The frame values are the serial port's own, read from the
// numbers stored in config.ini (a number it does not know gives the default).
struct SerialSettings
{
    QString port;
    int baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    bool sendRts = false;
    bool sendDtr = false;
};

struct UdpSettings
{
    QString address;
    quint16 port = 0; // 0: none set
};

// "8N1", "7E2", "8O1.5": data bits, parity letter, stop bits.
QString serialFrameText(const SerialSettings &serial);

// Everything a channel needs to reach one meter: the way (UDP or serial), the
// device address and that way's parameters. config.ini holds one of these;
// the command line builds others from its arguments. An operation takes one
// when it starts and hands it to whatever reaches the meter for it.
struct LinkSettings
{
    bool useUdp = false;
    quint8 deviceAddress = 255;
    SerialSettings serial;
    UdpSettings udp;

    static LinkSettings overUdp(const QString &address, quint16 port, quint8 deviceAddress);
    static LinkSettings overSerial(const QString &port, quint8 deviceAddress);

    // The connection as the program names it. For people (status bar, the
    // second line of a link failure, titles): "UDP 127.0.0.1:47800 · 地址 255"
    // or "/dev/ttyUSB0 9600 8N1 · 地址 1".
    QString targetText() const;
    // For records (journal, fleet): "udp 127.0.0.1:47800" or
    // "serial /dev/ttyUSB0 9600 8N1".
    QString describe() const;
    // One meter behind one connection: what the known values belong to.
    QString meterKey() const;
};

// The connection as stored in config.ini (missing keys give their defaults).
LinkSettings readLinkSettings(const QSettings &settings);
// Stores the device address and the chosen way's group (see below).
void writeLinkSettings(QSettings &settings, const LinkSettings &link);
void writeDeviceAddress(QSettings &settings, int address);

// The same with the program's own config.ini: what a window reads when an
// operation starts, and how tests point the program at a meter.
LinkSettings storedLinkSettings();
void storeLinkSettings(const LinkSettings &link);

// device/address with its low eight bits kept.
quint8 readDeviceAddress(const QSettings &settings);
// serial/port is empty when the key is missing; hasSerialPort tells.
SerialSettings readSerialSettings(const QSettings &settings);
bool hasSerialPort(const QSettings &settings);
UdpSettings readUdpSettings(const QSettings &settings);
// udp/port as stored, for the setup dialog that edits it.
QString readUdpPortText(const QSettings &settings);
bool readUseUdp(const QSettings &settings);

// Each write touches only its own group and communicate/udp, so the keys of
// the other way of connecting stay as they were.
void writeSerialSettings(QSettings &settings, const SerialSettings &serial);
void writeUdpSettings(QSettings &settings, const QString &address, const QString &portText);

// Empty when the choice can be stored, otherwise the message to show
// (context "SetupDialog").
QString serialSettingsError(const QString &port, const QString &baudText);
QString udpSettingsError(const QString &address, const QString &port);

// Dotted-quad IPv4 (four decimal parts 0..255) or a textual IPv6 address.
bool isUdpAddressText(const QString &text);
