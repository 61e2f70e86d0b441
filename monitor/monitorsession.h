#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"
#include "monitor/linesplitter.h"
#include "monitor/monitoroutbox.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class DeviceChannel;

// What the thread that runs a session and the window share while it runs.
struct MonitorControls
{
    std::atomic<bool> stop { false };
    // Ends the current listening pass early: set with stop and with each send.
    std::atomic<bool> wake { false };
    // Cut a partial line after this many quiet milliseconds; 0: at line feeds only.
    std::atomic<int> pauseMs { 0 };
    MonitorOutbox outbox;
};

// What a session reports, on its own thread.
struct MonitorEvents
{
    std::function<void()> connected;
    std::function<void(const QByteArray &line)> line;
    std::function<void(const QString &title, const LinkFailure &failure)> failed;
    std::function<void()> lost;
    std::function<void()> back;
    std::function<void(const QByteArray &bytes)> sent;
    std::function<void(const QString &reason)> sendRefused;
};

// One listening session: opens the channel, switches the debug output,
// reports every line the meter sends and sends what the window queued, until
// stopped. When the port goes away it says so and, if asked to, opens the
// same port again each second (also by its stable by-id name) with the same
// settings; the debug output is switched on again.
class MonitorSession
{
public:
    static constexpr int kReconnectPollMs = 1000;

    MonitorSession(const LinkSettings &link, bool debug, int switchTimeoutMs, MonitorControls &controls,
        const MonitorEvents &events);
    ~MonitorSession();

    void setReconnect(bool on) { m_reconnect = on; }
    void run();
    // The failure that ended the run, if one did.
    LinkFailure failure() const { return m_failure; }

private:
    enum SwitchResult { SwitchOk, SwitchFailed, SwitchAborted };

    SwitchResult sendDebugSwitch(DeviceChannel &channel, bool on, bool abortOnStop, bool report = true);
    void receive(const QByteArray &bytes);
    void cutAtPause();
    void emitLines(const QList<QByteArray> &lines);
    void sendQueued(DeviceChannel *channel);
    int writeTimeoutMs(int byteCount) const;
    // A channel open again, or null once stopped.
    std::unique_ptr<DeviceChannel> reopen();
    std::unique_ptr<DeviceChannel> openAgain(const LinkSettings &link);
    bool stopped() const { return m_controls.stop.load(); }
    void fail(const QString &title, const LinkFailure &failure);

    const LinkSettings m_link;
    const bool m_debug;
    const int m_switchTimeoutMs;
    MonitorControls &m_controls;
    const MonitorEvents m_events;
    bool m_reconnect = false;
    QString m_byIdPath;
    LineSplitter m_splitter;
    QElapsedTimer m_sinceBytes;
    LinkFailure m_failure;
};
