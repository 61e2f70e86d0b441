#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include <QStringList>
#include <QThread>

#include <atomic>

// Reads the instrument's configuration items one by one on its own thread.
class RefreshThread : public QThread
{
    Q_OBJECT

public:
    explicit RefreshThread(QObject *parent = nullptr);

    // The connection of the next runs, taken by whoever starts them; set while not running.
    void setLinkSettings(const LinkSettings &link) { m_link = link; }
    // Starts a new run unless one runs already.
    void start(Priority priority = InheritPriority);
    // Ends a run at its next wait, within one poll slice, without a message;
    // the items read so far stay. Does not block.
    void requestStop() { m_stop = true; }

signals:
    void signalClearItems();
    void signalAddItems(int index, const QStringList &list);
    void showErrorMessage(const QString &title, const QString &error, const QString &image);
    // Each failure as a value, right after its text above: what the window
    // shows is made from it.
    void signalFailed(const QString &title, const LinkFailure &failure);

protected:
    void run() override;

private:
    void fail(const QString &title, const LinkFailure &failure);
    std::atomic<bool> m_stop { false };
    LinkSettings m_link; // written only while not running
};
