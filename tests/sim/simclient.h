#pragma once

// The program's side of the wire for the simulator's own tests, built from
// raw bytes (never from link/).

#include "sim/simframe.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

inline QByteArray readRequest(quint8 address, quint8 index)
{
    QByteArray frame;
    frame.append(char(address)).append(char(0x03)).append(char(0x4B)).append(char(index)).append(2, char(0));
    simAppendCrcLowFirst(frame);
    return frame;
}

inline QByteArray writeRequest(quint8 address, quint8 index, const QByteArray &text)
{
    QByteArray frame;
    frame.append(char(address)).append(char(0x0F)).append(char(0x4B)).append(char(index)).append(2, char(0));
    frame.append(char(text.size() + 1)).append(text).append(char(0));
    simAppendCrcLowFirst(frame);
    return frame;
}

inline QByteArray clockRequest(quint8 address, const QByteArray &fields)
{
    QByteArray frame;
    frame.append(char(address)).append(simFromHex(QStringLiteral("0F 4D 08 00 03 07"))).append(fields);
    simAppendCrcLowFirst(frame);
    return frame;
}

// A plain loopback UDP socket standing in for the program's channel.
class UdpClient
{
public:
    UdpClient() { m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0); }

    void send(quint16 port, const QByteArray &bytes) { m_socket.writeDatagram(bytes, QHostAddress::LocalHost, port); }

    // Every datagram arriving within `quietMs` of the previous one (the first
    // may take up to `firstMs`).
    QList<QNetworkDatagram> collect(int firstMs = 2000, int quietMs = 150)
    {
        QList<QNetworkDatagram> datagrams;
        int wait = firstMs;
        while (m_socket.hasPendingDatagrams() || m_socket.waitForReadyRead(wait)) {
            while (m_socket.hasPendingDatagrams())
                datagrams << m_socket.receiveDatagram();
            wait = quietMs;
        }
        return datagrams;
    }

    // One exchange: the bytes of every datagram that came back, joined; done
    // early once they form one complete address answer.
    QByteArray exchange(quint16 port, const QByteArray &request, int firstMs = 2000, int quietMs = 150)
    {
        send(port, request);
        QByteArray answer;
        int wait = firstMs;
        while (m_socket.hasPendingDatagrams() || m_socket.waitForReadyRead(wait)) {
            while (m_socket.hasPendingDatagrams())
                answer += m_socket.receiveDatagram().data();
            if (answer.size() >= 5 && answer.size() == quint8(answer.at(2)) + 5)
                break;
            wait = quietMs;
        }
        return answer;
    }

    quint16 localPort() const { return m_socket.localPort(); }

private:
    QUdpSocket m_socket;
};
