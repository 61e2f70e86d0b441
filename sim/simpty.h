#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The meter's end of a fresh pseudo-terminal in raw mode. The program opens
// `slavePath` as its serial port. The meter keeps a slave descriptor open
// itself, so the master does not report a hang-up between the program's opens.
class SimPty : public QObject
{
    Q_OBJECT
public:
    explicit SimPty(QObject *parent = nullptr);
    ~SimPty() override;

    bool open(QString *error = nullptr);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // Writes all bytes (waits while the pty buffer is full). False on failure.
    bool write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void onReadable();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
};
