#include "link/devicechannel.h"

#include "app/settings.h"
#include "link/udpwait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <cstring>

namespace {

constexpr int kRtsSettleMs = 100;
constexpr int kSerialQuietMs = 500;
constexpr int kUdpStreamQuietMs = 1000;
constexpr int kStreamTimeoutMs = 10000;

// Only the values QSerialPort knows; anything else keeps the default.
QSerialPort::DataBits toDataBits(int value)
{
    switch (value) {
    case QSerialPort::Data5:
    case QSerialPort::Data6:
    case QSerialPort::Data7:
    case QSerialPort::Data8:
        return QSerialPort::DataBits(value);
    default:
        return QSerialPort::Data8;
    }
}

QSerialPort::Parity toParity(int value)
{
    switch (value) {
    case QSerialPort::NoParity:
    case QSerialPort::EvenParity:
    case QSerialPort::OddParity:
    case QSerialPort::SpaceParity:
    case QSerialPort::MarkParity:
        return QSerialPort::Parity(value);
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits toStopBits(int value)
{
    switch (value) {
    case QSerialPort::OneStop:
    case QSerialPort::OneAndHalfStop:
    case QSerialPort::TwoStop:
        return QSerialPort::StopBits(value);
    default:
        return QSerialPort::OneStop;
    }
}

} // namespace

DeviceChannel::DeviceChannel() = default;

DeviceChannel::~DeviceChannel()
{
    m_serialPort.close();
    m_udpSocket.close();
}

bool DeviceChannel::open()
{
    return open(readLinkSettings(*appSettings()));
}

bool DeviceChannel::open(const LinkSettings &settings)
{
    m_errorText.clear();
    m_sendRts = settings.serial.sendRts;
    // Stored but deliberately not applied: the option is hidden in the setup
    // dialog and no exchange needs the DTR line.
    m_sendDtr = settings.serial.sendDtr;
    m_udp = settings.useUdp;
    m_deviceAddress = settings.deviceAddress;

    if (m_udp) {
        m_hostAddress = QHostAddress(settings.udp.address.trimmed());
        m_port = quint16(settings.udp.port.toUInt() & 0xFFFF);
        return true;
    }

    const QString portName = settings.serial.port;
    m_serialPort.setPortName(portName);
    if (!portName.isEmpty() && m_serialPort.open(QIODevice::ReadWrite)) {
        // Applied after opening: some drivers reset the line settings on open.
        m_serialPort.setBaudRate(settings.serial.baudRate, QSerialPort::AllDirections);
        m_serialPort.setDataBits(toDataBits(settings.serial.dataBits));
        m_serialPort.setParity(toParity(settings.serial.parity));
        m_serialPort.setStopBits(toStopBits(settings.serial.stopBits));
        m_serialPort.setFlowControl(QSerialPort::NoFlowControl);
    } else if (!portName.isEmpty()) {
        m_errorText = QObject::tr("打开串口失败: %1").arg(portName);
    } else {
        m_errorText = QObject::tr("串口打开失败");
    }
    return m_errorText.isEmpty();
}

int DeviceChannel::transact(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs)
{
    response.clear();
    // Qt reads a negative wait as "forever".
    timeoutMs = qMax(0, timeoutMs);
    if (!request || length < 0)
        return LinkSendError;
    if (m_udp)
        return transactUdp(request, length, response, crcHighFirst, timeoutMs);
    return transactSerial(request, length, response, crcHighFirst, timeoutMs);
}

int DeviceChannel::transactSerial(
    const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs)
{
    if (!m_serialPort.isOpen())
        return LinkSendError;
    if (m_sendRts && !pulseRts())
        return LinkSendError;
    m_serialPort.clear(QSerialPort::AllDirections);
    if (m_serialPort.write(request, length) < length)
        return LinkSendError;
    if (!m_serialPort.waitForBytesWritten(timeoutMs))
        return LinkSendError;
    if (!waitForSerialData(timeoutMs))
        return LinkReceiveTimeout;

    // An instrument that keeps talking without ever forming an answer must not
    // hold the caller forever: the rest of the answer gets one more time-out.
    QElapsedTimer collecting;
    collecting.start();
    response += m_serialPort.readAll();
    while (!isCompleteResponse(response, m_deviceAddress, crcHighFirst)) {
        // A quiet line ends the answer; the caller's CRC check judges what came.
        if (collecting.elapsed() > timeoutMs || !waitForSerialData(kSerialQuietMs))
            return LinkOk;
        response += m_serialPort.readAll();
    }
    return LinkOk;
}

int DeviceChannel::transactUdp(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs)
{
    if (!sendDatagram(request, length))
        return LinkSendError;
    QElapsedTimer collecting;
    for (;;) {
        waitForDatagram(timeoutMs);
        // Datagrams from others end the exchange: the line is not ours alone.
        const QByteArray chunk = takeDeviceDatagrams();
        if (chunk.isEmpty())
            return LinkReceiveTimeout;
        response += chunk;
        if (isCompleteResponse(response, m_deviceAddress, crcHighFirst))
            return LinkOk;
        if (!collecting.isValid())
            collecting.start();
        else if (collecting.elapsed() > timeoutMs)
            return LinkReceiveTimeout;
    }
}

void DeviceChannel::transactStream(const char *request, int length, DDataReceiver *receiver)
{
    if (!receiver)
        return;
    if (!request || length < 0) {
        receiver->onReceiveError(QObject::tr("发送命令失败"));
        return;
    }
    if (m_udp)
        transactStreamUdp(request, length, receiver);
    else
        transactStreamSerial(request, length, receiver);
}

void DeviceChannel::transactStreamSerial(const char *request, int length, DDataReceiver *receiver)
{
    if (!m_serialPort.isOpen() || (m_sendRts && !pulseRts())) {
        receiver->onReceiveError(QObject::tr("发送命令失败"));
        return;
    }
    m_serialPort.clear(QSerialPort::AllDirections);
    if (m_serialPort.write(request, length) < length) {
        receiver->onReceiveError(QObject::tr("发送命令失败"));
        return;
    }
    if (!m_serialPort.waitForBytesWritten(kStreamTimeoutMs)) {
        receiver->onReceiveError(QObject::tr("发送命令超时"));
        return;
    }
    if (!waitForSerialData(kStreamTimeoutMs)) {
        receiver->onReceiveError(QObject::tr("接受数据超时"));
        return;
    }
    for (;;) {
        if (receiver->isStopped())
            return;
        if (!waitForSerialData(kSerialQuietMs))
            return;
        receiver->onReceiveData(m_serialPort.readAll());
    }
}

void DeviceChannel::transactStreamUdp(const char *request, int length, DDataReceiver *receiver)
{
    if (!sendDatagram(request, length)) {
        receiver->onReceiveError(QObject::tr("发送命令超时"));
        return;
    }
    // A stray datagram (another host, a search answer) must neither end the
    // stream early nor pass for its end: only the instrument's data counts.
    QByteArray chunk = receiveDeviceChunk(kStreamTimeoutMs);
    if (chunk.isEmpty()) {
        receiver->onReceiveError(QObject::tr("接受数据超时"));
        return;
    }
    for (;;) {
        if (receiver->isStopped())
            return;
        receiver->onReceiveData(chunk);
        chunk = receiveDeviceChunk(kUdpStreamQuietMs);
        if (chunk.isEmpty())
            return;
    }
}

bool DeviceChannel::pulseRts()
{
    if (!m_serialPort.setRequestToSend(false))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    if (!m_serialPort.setRequestToSend(true))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    return true;
}

bool DeviceChannel::sendDatagram(const char *request, int length)
{
    // The system would deliver a datagram for the null address to this very
    // machine; without a configured instrument there is nobody to send to.
    if (m_hostAddress.isNull())
        return false;
    return m_udpSocket.writeDatagram(request, length, m_hostAddress, m_port) > 0;
}

bool DeviceChannel::waitForDatagram(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_udpSocket.hasPendingDatagrams())
            return true;
        if (!sleepUntilReadable(m_udpSocket, timer, timeoutMs))
            return m_udpSocket.hasPendingDatagrams();
    }
}

QByteArray DeviceChannel::takeDeviceDatagrams()
{
    QByteArray chunk;
    while (m_udpSocket.hasPendingDatagrams()) {
        const qint64 size = m_udpSocket.pendingDatagramSize();
        QByteArray datagram(int(qMax<qint64>(size, 0)), Qt::Uninitialized);
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 read = m_udpSocket.readDatagram(datagram.data(), datagram.size(), &sender, &senderPort);
        if (read < 0)
            break;
        datagram.resize(int(read));
        if (isFromDevice(sender, senderPort))
            chunk += datagram;
    }
    return chunk;
}

QByteArray DeviceChannel::receiveDeviceChunk(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_udpSocket.hasPendingDatagrams()) {
            const QByteArray chunk = takeDeviceDatagrams();
            if (!chunk.isEmpty())
                return chunk;
        }
        if (!sleepUntilReadable(m_udpSocket, timer, timeoutMs)) {
            // Whatever landed right at the end still counts, as after a last poll.
            return m_udpSocket.hasPendingDatagrams() ? takeDeviceDatagrams() : QByteArray();
        }
    }
}

bool DeviceChannel::waitForSerialData(int timeoutMs)
{
    if (m_serialPort.bytesAvailable() > 0)
        return true;
    return m_serialPort.waitForReadyRead(timeoutMs) || m_serialPort.bytesAvailable() > 0;
}

bool DeviceChannel::isFromDevice(const QHostAddress &sender, quint16 senderPort) const
{
    if (senderPort != m_port || m_hostAddress.isNull() || sender.isNull())
        return false;
    if (sender == m_hostAddress)
        return true;
    bool senderIsIpv4 = false;
    bool hostIsIpv4 = false;
    const quint32 senderIpv4 = sender.toIPv4Address(&senderIsIpv4);
    const quint32 hostIpv4 = m_hostAddress.toIPv4Address(&hostIsIpv4);
    if (senderIsIpv4 && hostIsIpv4 && senderIpv4 == hostIpv4)
        return true;
    const Q_IPV6ADDR senderIpv6 = sender.toIPv6Address();
    const Q_IPV6ADDR hostIpv6 = m_hostAddress.toIPv6Address();
    if (std::memcmp(senderIpv6.c, hostIpv6.c, sizeof senderIpv6.c) == 0)
        return true;
    return sender.protocol() == m_hostAddress.protocol() && sender.toString() == m_hostAddress.toString();
}

void waitWithEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the RTS settle time is a minimum.
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qMax(0, milliseconds));
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start();
    loop.exec();
}
