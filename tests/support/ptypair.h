#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for a serial line in tests.
//
// The program side opens slavePath() with QSerialPort; the test plays the
// instrument on the master side with readMaster()/writeMaster(). Both ends are
// put in raw mode so bytes pass unchanged (no echo, no CR/LF mapping).
// An extra slave descriptor stays open for the pair's lifetime so the master
// never sees a hang-up while the serial port is closed and reopened.
//
//     PtyPair pty;
//     QVERIFY(pty.isValid());
//     appSettings()->setValue("serialport/name", pty.slavePath());
//     ... open the channel, send ...
//     QByteArray request = pty.readMaster(8, 2000);
//     pty.writeMaster(answer);
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();

    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    // e.g. "/dev/pts/3"
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Writes all bytes to the master side; false on error.
    bool writeMaster(const QByteArray &bytes);
    // Reads from the master until `count` bytes arrived or `timeoutMs` passed;
    // returns what arrived (possibly fewer bytes). count <= 0 reads whatever
    // arrives within the time-out.
    QByteArray readMaster(int count, int timeoutMs);
    // Discards everything pending on the master side.
    void drainMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
