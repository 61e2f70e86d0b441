#include "monitor/heldlines.h"

void HeldLines::hold(const QString &text)
{
    ++m_received;
    m_lines.append(text);
    // Dropping in bulk keeps the cost per line constant.
    if (m_lines.size() > m_maxLines + m_maxLines / 4)
        m_lines.erase(m_lines.begin(), m_lines.begin() + (m_lines.size() - m_maxLines));
}

QStringList HeldLines::take()
{
    if (m_lines.size() > m_maxLines)
        m_lines.erase(m_lines.begin(), m_lines.begin() + (m_lines.size() - m_maxLines));
    m_received = 0;
    QStringList lines;
    lines.swap(m_lines);
    return lines;
}

int countMatches(const QString &text, const QString &needle)
{
    return needle.isEmpty() ? 0 : text.count(needle, Qt::CaseInsensitive);
}
