#include "cli/cliprogress.h"

#include <QMutexLocker>

#include <cstdio>

CliProgress::CliProgress(bool enabled)
    : m_enabled(enabled)
{
}

CliProgress::~CliProgress()
{
    clear();
}

void CliProgress::step(const QString &name, const QString &what, int done, int total)
{
    if (!m_enabled)
        return;
    constexpr int kBarWidth = 24;
    QString bar;
    if (total > 0) {
        const int filled = qBound(0, done * kBarWidth / total, kBarWidth);
        bar = QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'))
            + QLatin1String("] ");
    }
    const QString count = total > 0 ? QStringLiteral("%1/%2").arg(done).arg(total) : QString::number(done);
    const QString line = QStringLiteral("\r\x1b[K%1%2 %3 %4").arg(bar, name, what, count);
    QMutexLocker locker(&m_mutex);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

void CliProgress::clear()
{
    if (!m_enabled)
        return;
    QMutexLocker locker(&m_mutex);
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
}

void CliProgress::warnOnce(const QString &text)
{
    if (m_warned.exchange(true))
        return;
    QMutexLocker locker(&m_mutex);
    std::fprintf(stderr, "%s%s\n", m_enabled ? "\r\x1b[K" : "", text.toUtf8().constData());
    std::fflush(stderr);
}
