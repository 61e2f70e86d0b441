#pragma once

#include "link/commsettings.h"
#include "link/ddatareceiver.h"
#include "link/frame.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QSerialPort>
#include <QUdpSocket>

// The one way to the instrument: opened from the settings of the moment,
// used on the thread that created it, closed when destroyed.
class DeviceChannel
{
public:
    DeviceChannel();
    ~DeviceChannel();

    DeviceChannel(const DeviceChannel &) = delete;
    DeviceChannel &operator=(const DeviceChannel &) = delete;

    // Opens with the settings of config.ini at this moment.
    bool open();
    // Opens with the given settings (the command line's, or a stored copy).
    bool open(const LinkSettings &settings);
    QString errorText() const { return m_errorText; }

    int transact(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs);
    int transact(const QByteArray &request, QByteArray &response, bool crcHighFirst, int timeoutMs)
    {
        return transact(request.constData(), request.size(), response, crcHighFirst, timeoutMs);
    }
    void transactStream(const char *request, int length, DDataReceiver *receiver);
    void transactStream(const QByteArray &request, DDataReceiver *receiver)
    {
        transactStream(request.constData(), request.size(), receiver);
    }

    bool sendRts() const { return m_sendRts; }
    bool sendDtr() const { return m_sendDtr; }
    bool isUdp() const { return m_udp; }
    quint8 deviceAddress() const { return m_deviceAddress; }
    QHostAddress hostAddress() const { return m_hostAddress; }
    quint16 port() const { return m_port; }
    QUdpSocket &udpSocket() { return m_udpSocket; }
    QSerialPort &serialPort() { return m_serialPort; }

    // Whether a datagram's sender is the configured instrument: same port, and the
    // same address also across the IPv4 / IPv4-mapped IPv6 forms. Never true
    // for a null host address.
    bool isFromDevice(const QHostAddress &sender, quint16 senderPort) const;

private:
    int transactSerial(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs);
    int transactUdp(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs);
    void transactStreamSerial(const char *request, int length, DDataReceiver *receiver);
    void transactStreamUdp(const char *request, int length, DDataReceiver *receiver);
    bool pulseRts();
    // One datagram to the instrument; false when nothing was sent.
    bool sendDatagram(const char *request, int length);
    // Waits until a datagram is pending or more than timeoutMs passed.
    bool waitForDatagram(int timeoutMs);
    // Reads every pending datagram and returns those of the instrument, joined.
    QByteArray takeDeviceDatagrams();
    // Like the two above, but datagrams of others do not end the wait.
    QByteArray receiveDeviceChunk(int timeoutMs);
    // Waits up to timeoutMs for serial bytes; true when some are available.
    bool waitForSerialData(int timeoutMs);

    bool m_sendRts = false;
    bool m_sendDtr = false;
    bool m_udp = false;
    quint8 m_deviceAddress = 255;
    QHostAddress m_hostAddress;
    quint16 m_port = 65535;
    QString m_errorText;
    QUdpSocket m_udpSocket;
    QSerialPort m_serialPort;
};

// Waits while the calling thread keeps processing its events.
void waitWithEventLoop(int milliseconds);
