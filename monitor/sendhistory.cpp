#include "monitor/sendhistory.h"

void SendHistory::add(const QString &line)
{
    m_position = -1;
    if (line.isEmpty() || (!m_lines.isEmpty() && m_lines.last() == line))
        return;
    m_lines.append(line);
    if (m_lines.size() > kMaxLines)
        m_lines.removeFirst();
}

QString SendHistory::older(const QString &typed)
{
    if (m_lines.isEmpty())
        return typed;
    if (m_position < 0) {
        m_typed = typed;
        m_position = m_lines.size();
    }
    if (m_position > 0)
        --m_position;
    return m_lines.at(m_position);
}

QString SendHistory::newer(const QString &shown)
{
    if (m_position < 0)
        return shown;
    if (++m_position >= m_lines.size()) {
        m_position = -1;
        return m_typed;
    }
    return m_lines.at(m_position);
}
