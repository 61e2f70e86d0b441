#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include "monitor/linesplitter.h"

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>

class DeviceChannel;

// Listens to the instrument and reports every received line, raw, by
// signalDataRecv. A debug run switches the instrument's debug output on
// first and off again at the end.
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
    // The last failure of a run, once it has finished.
    LinkFailure failure() const { return m_failure; }

signals:
    void signalShowError(const QString &title, const QString &error);
    void signalDataRecv(const QByteArray &byteArray);
    // Each failure as a value, right after its text above: what the dialog
    // shows is made from it.
    void signalFailed(const QString &title, const LinkFailure &failure);

public slots:
    void start();
    // Blocks until the run has returned, closing switch included.
    void stop();

protected:
    void run() override;

private:
    enum SwitchResult { SwitchOk, SwitchFailed, SwitchAborted };

    SwitchResult sendDebugSwitch(DeviceChannel &channel, bool on, bool abortOnStop);
    void splitAndEmit(const QByteArray &chunk);
    void fail(const QString &title, const LinkFailure &failure);

    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_debug { false };
    std::atomic<int> m_switchTimeoutMs { 10000 };
    // Worker side only.
    LineSplitter m_splitter;
    LinkSettings m_link; // written only while not running
    LinkFailure m_failure; // written only by the run
};
