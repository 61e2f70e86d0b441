#pragma once

#include <QObject>
#include <QProgressDialog>

#include <atomic>
#include <functional>

class QWidget;

// The one way a window runs work off its own thread: the work runs on a
// thread of its own while a window-modal progress dialog keeps the window
// painted and its input away; run() returns once the work has ended. Steps
// the work posts reach the window's thread in order, all before run() returns.
class BackgroundJob
{
public:
    // The progress dialog is shown at once unless a minimum duration is set
    // (progress().setMinimumDuration) and has a Cancel button unless it is
    // taken away (progress().setCancelButton(nullptr)).
    explicit BackgroundJob(QWidget *window);
    ~BackgroundJob();

    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

    QProgressDialog &progress() { return m_progress; }
    // Set by Cancel: the work looks at it where stopping is safe.
    const std::atomic_bool &stopFlag() const { return m_stop; }
    bool wasCancelled() const { return m_stop; }

    // From the work's thread: runs `step` on the window's thread.
    void post(std::function<void()> step);
    // Runs `work` on a thread of its own and returns when it has ended.
    void run(const std::function<void()> &work);

private:
    QProgressDialog m_progress;
    QObject m_receiver; // lives on the window's thread: posted steps run there
    std::atomic_bool m_stop { false };
    bool m_running = false;
};
