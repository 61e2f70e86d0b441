#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"
#include "monitor/monitorsession.h"

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>

// Listens to the instrument and reports every received line, raw, by
// signalDataRecv. A debug run switches the instrument's debug output on
// first and off again at the end. The work is a MonitorSession; this runs it
// on a thread of its own and turns what it reports into signals.
class MonitorThread : public QThread
{
    Q_OBJECT

public:
    explicit MonitorThread(QObject *parent = nullptr);
    ~MonitorThread() override;

    // Read once at the beginning of each run.
    void setDebug(bool on) { m_debug = on; }
    bool debug() const { return m_debug; }

    // Time-out of the debug switch exchange (10000 ms).
    void setSwitchTimeout(int milliseconds) { m_switchTimeoutMs = milliseconds; }
    int switchTimeout() const { return m_switchTimeoutMs; }

    // The connection of the next runs, taken by whoever starts them; set while not running.
    void setLinkSettings(const LinkSettings &link) { m_link = link; }
    // Whether a run waits for a vanished port to come back (else it ends
    // with a failure); set while not running.
    void setReconnect(bool on) { m_reconnect = on; }
    // Cut a partial line after a pause of this many milliseconds (0: only at
    // line feeds); may change while running.
    void setPauseSplit(int milliseconds) { m_controls.pauseMs = qMax(0, milliseconds); }
    // Queues bytes to send on the line while listening; false when the queue is full.
    bool send(const QByteArray &bytes);
    // The last failure of a run, once it has finished.
    LinkFailure failure() const { return m_failure; }

signals:
    void signalShowError(const QString &title, const QString &error);
    void signalDataRecv(const QByteArray &byteArray);
    // Each failure as a value, right after its text above: what the dialog
    // shows is made from it.
    void signalFailed(const QString &title, const LinkFailure &failure);
    // The line is open and listened to.
    void signalConnected();
    // The port went away; the run waits for it to come back.
    void signalLinkLost();
    // ... and it came back with the same settings.
    void signalLinkBack();
    void signalSent(const QByteArray &bytes);
    void signalSendRefused(const QString &reason);

public slots:
    void start();
    // Blocks until the run has returned, closing switch included.
    void stop();

protected:
    void run() override;

private:
    MonitorControls m_controls;
    std::atomic<bool> m_debug { false };
    std::atomic<int> m_switchTimeoutMs { 10000 };
    LinkSettings m_link; // written only while not running
    bool m_reconnect = false; // written only while not running
    LinkFailure m_failure; // written only by the run
};
