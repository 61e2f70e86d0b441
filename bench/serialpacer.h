#pragma once

#include <QString>

#include <atomic>
#include <thread>

// A serial line of a given speed between the program and the simulated meter.
// The meter's pseudo-terminal only moves bytes as fast as memory; the pacer
// sits between it and a pseudo-terminal of its own (the one the program opens)
// and lets every byte through no earlier than a UART at the configured rate
// would have delivered it, in both directions.
class SerialPacer
{
public:
    // bitsPerByte: start bit + data bits + parity bit + stop bits.
    SerialPacer(const QString &meterPtyPath, int baudRate, int bitsPerByte);
    ~SerialPacer();

    SerialPacer(const SerialPacer &) = delete;
    SerialPacer &operator=(const SerialPacer &) = delete;

    bool isValid() const { return m_meter >= 0 && m_master >= 0; }
    // The port the program opens.
    QString programPath() const { return m_programPath; }

    // Bytes passed since the last reset, program to meter and back.
    qint64 bytesUp() const { return m_up.load(); }
    qint64 bytesDown() const { return m_down.load(); }
    // Time the meter took to start answering after the last byte of a
    // request reached it, summed over the exchanges since the last reset.
    double meterMicros() const { return m_meterNanos.load() / 1000.0; }
    // The same for the program: from the last byte of an answer to the first
    // byte of its next request (gaps over a second are idle time, not counted).
    double programMicros() const { return m_programNanos.load() / 1000.0; }
    void resetCounts();
    // Time a UART needs for `bytes` bytes, in microseconds.
    double wireMicros(qint64 bytes) const;

private:
    void run();

    int m_meter = -1; // the meter's pty, opened as its user
    int m_master = -1; // our pty, master side
    int m_slave = -1; // kept open so the master never sees a hang-up
    QString m_programPath;
    double m_nanosPerByte = 0;
    std::atomic<qint64> m_up { 0 };
    std::atomic<qint64> m_down { 0 };
    std::atomic<qint64> m_meterNanos { 0 };
    std::atomic<qint64> m_programNanos { 0 };
    std::atomic<bool> m_stop { false };
    int m_wake[2] = { -1, -1 };
    std::thread m_thread;
};
