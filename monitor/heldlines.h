#pragma once

#include <QString>
#include <QStringList>

// Lines that arrive while the view is paused, in order. Bounded like the
// view: beyond `maxLines` the oldest are dropped, as the view would drop them.
class HeldLines
{
public:
    explicit HeldLines(int maxLines)
        : m_maxLines(qMax(1, maxLines))
    {
    }

    void hold(const QString &text);
    // Everything held, oldest first; the store is empty afterwards.
    QStringList take();
    void clear() { m_lines.clear(); }
    int count() const { return qMin(m_lines.size(), m_maxLines); }
    // Lines received while paused, dropped ones included.
    int received() const { return m_received; }

private:
    int m_maxLines;
    int m_received = 0;
    QStringList m_lines;
};

// Case-insensitive occurrences of `needle` in `text` (0 for an empty needle).
int countMatches(const QString &text, const QString &needle);
