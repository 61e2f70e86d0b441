#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include <QByteArray>
#include <QThread>

#include <atomic>

// Runs one HistorySession on a thread of its own: sends one history request
// and hands the answer back as text (see HistorySession for how it is cut).
class ReadThread : public QThread
{
    Q_OBJECT

public:
    explicit ReadThread(QObject *parent = nullptr);
    ~ReadThread() override;

    // Stores the request and starts a run; refused (false) while one runs,
    // so the request is never changed under the worker.
    bool startQuery(const QByteArray &request);
    // Asks the run to end at the next read; does not wait.
    void stop();
    // The connection of the next runs, taken by whoever starts them; set while not running.
    void setLinkSettings(const LinkSettings &link) { m_link = link; }
    // What ended the last run, once it has finished (Kind::None: the answer ended).
    LinkFailure failure() const { return m_failure; }

signals:
    void signalClearText();
    void signalAddText(const QString &text);
    void signalShowError(const QString &title, const QString &error);
    // Each failure as a value, right after its text above: what a dialog
    // shows is made from it.
    void signalFailed(const QString &title, const LinkFailure &failure);

protected:
    void run() override;

private:
    std::atomic<bool> m_stop { false };
    QByteArray m_request; // written only while not running
    LinkSettings m_link; // written only while not running
    LinkFailure m_failure; // written only by the run
};
