#include "link/serialtransport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <sys/ioctl.h>
#include <termios.h>

namespace {

// How often a wait that can be stopped looks at its stop flag.
constexpr int kStopPollMs = 20;

} // namespace

bool SerialTransport::open(const SerialSettings &serial)
{
    m_sendRts = serial.sendRts;
    m_port.setPortName(serial.port);
    if (serial.port.isEmpty() || !m_port.open(QIODevice::ReadWrite))
        return false;
    // Ours alone: a second program (or channel) opening the port now fails
    // with the system's reason instead of mixing its answers in.
    ::ioctl(int(m_port.handle()), TIOCEXCL);
    // Applied after opening: some drivers reset the line settings on open.
    m_port.setBaudRate(serial.baudRate, QSerialPort::AllDirections);
    m_port.setDataBits(serial.dataBits);
    m_port.setParity(serial.parity);
    m_port.setStopBits(serial.stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

LinkTransport::Sent SerialTransport::send(const QByteArray &request, int timeoutMs)
{
    if (!m_port.isOpen() || (m_sendRts && !pulseRts()))
        return Sent::Refused;
    discardPending();
    if (m_port.write(request) < request.size())
        return Sent::Refused;
    return m_port.waitForBytesWritten(timeoutMs) ? Sent::Ok : Sent::TimedOut;
}

bool SerialTransport::waitReadable(int timeoutMs, const std::atomic<bool> *stop)
{
    if (m_port.bytesAvailable() > 0)
        return true;
    if (!stop)
        return m_port.waitForReadyRead(timeoutMs) || m_port.bytesAvailable() > 0;
    // In slices, so a stop is seen soon.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (stop->load())
            return false;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return false;
        const int slice = int(qMin<qint64>(left, kStopPollMs));
        QElapsedTimer waited;
        waited.start();
        m_port.clearError();
        if (m_port.waitForReadyRead(slice) || m_port.bytesAvailable() > 0)
            return true;
        // A port that fails at once (the other end gone) gives up as an
        // unsliced wait would, and never spins.
        if (m_port.error() != QSerialPort::TimeoutError && m_port.error() != QSerialPort::NoError)
            return false;
        if (waited.elapsed() < slice)
            QThread::msleep(ulong(slice - waited.elapsed()));
    }
}

bool SerialTransport::hasPending()
{
    return m_port.bytesAvailable() > 0;
}

QByteArray SerialTransport::readPiece(bool *foreign)
{
    *foreign = false;
    return m_port.readAll();
}

void SerialTransport::discardPending()
{
    if (!m_port.isOpen())
        return;
    // The driver's buffers and the port's own; then whatever the driver still
    // hands over (a flush it refused, bytes that landed meanwhile).
    m_port.clear(QSerialPort::AllDirections);
    for (int i = 0; i < 4 && (m_port.bytesAvailable() > 0 || m_port.waitForReadyRead(0)); ++i)
        m_port.readAll();
    m_port.clearError();
}

QString SerialTransport::systemReason() const
{
    const QSerialPort::SerialPortError error = m_port.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
        return m_port.errorString();
    return QString();
}

bool SerialTransport::pulseRts()
{
    if (!m_port.setRequestToSend(false))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    if (!m_port.setRequestToSend(true))
        return false;
    waitWithEventLoop(kRtsSettleMs);
    return true;
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
