#pragma once

#include "monitor/monitorsend.h"

#include <QList>
#include <QString>
#include <QStringList>

// A named command of the send line, kept in monitor/commands and in command
// files as one line: name<TAB>mode<TAB>line-end<TAB>text (mode text/hex,
// line end none/cr/lf/crlf; the text is the rest of the line).
struct MonitorCommand
{
    QString name;
    SendMode mode = SendMode::Text;
    SendLineEnd lineEnd = SendLineEnd::None;
    QString text;

    QString toLine() const;
    // Empty when the line holds a command; otherwise why not (context MonitorSend).
    static QString fromLine(const QString &line, MonitorCommand *command);
    // What it sends, for the send line (no CRC: a hex command holds its own).
    SendRequest request() const;
};

// More are refused: a list in a drop-down, not a store.
constexpr int kMaxMonitorCommands = 200;
// A command file larger than this is no command file.
constexpr qint64 kMaxCommandFileBytes = 1024 * 1024;

// The stored list; lines that hold no command are left out.
QList<MonitorCommand> commandsFromLines(const QStringList &lines);
QStringList commandsToLines(const QList<MonitorCommand> &commands);

// A command file: the same lines, UTF-8. Empty error on success; otherwise
// the reason, naming the line (context MonitorSend).
QString readCommandFile(const QString &fileName, QList<MonitorCommand> *commands);
QString writeCommandFile(const QString &fileName, const QList<MonitorCommand> &commands);
