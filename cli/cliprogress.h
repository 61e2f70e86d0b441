#pragma once

#include <QMutex>
#include <QString>

#include <atomic>

// One status line on stderr, redrawn in place, only when stderr is a
// terminal; pipes and files get nothing. Safe to use from several threads.
class CliProgress
{
public:
    explicit CliProgress(bool enabled);
    ~CliProgress();

    bool isEnabled() const { return m_enabled; }
    // "name  what n/total" with a bar; total 0 when unknown.
    void step(const QString &name, const QString &what, int done, int total);
    void clear();
    // A warning shown once per run (e.g. a journal that cannot be written).
    void warnOnce(const QString &text);

private:
    bool m_enabled;
    QMutex m_mutex;
    std::atomic_bool m_warned { false };
};
