#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>

// What the window asks the monitor to send, handed to the worker that owns
// the line. Bounded: a send that finds it full is refused.
class MonitorOutbox
{
public:
    static constexpr int kMaxPending = 16;

    bool put(const QByteArray &bytes)
    {
        QMutexLocker locker(&m_mutex);
        if (m_pending.size() >= kMaxPending)
            return false;
        m_pending.append(bytes);
        return true;
    }
    QList<QByteArray> take()
    {
        QMutexLocker locker(&m_mutex);
        QList<QByteArray> taken;
        taken.swap(m_pending);
        return taken;
    }

private:
    QMutex m_mutex;
    QList<QByteArray> m_pending;
};
