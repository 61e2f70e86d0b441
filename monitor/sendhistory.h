#pragma once

#include <QString>
#include <QStringList>

// The lines sent last, walked with Up and Down as in a shell: Up goes to
// older lines, Down back towards the line being typed.
class SendHistory
{
public:
    static constexpr int kMaxLines = 50;

    // A sent line; a repeat of the newest one is kept once. Ends any walk.
    void add(const QString &line);
    // The line one older than the one shown; `typed` is kept for the way back.
    QString older(const QString &typed);
    // The line one newer, at the end the line that was being typed; `shown`
    // stays when not walking.
    QString newer(const QString &shown);
    int size() const { return m_lines.size(); }

private:
    QStringList m_lines; // oldest first
    int m_position = -1; // -1: not walking
    QString m_typed;
};
