#pragma once

#include <QByteArray>
#include <QString>

// What vexa-cli prints. Text from a meter reaches a terminal here, so every
// control character but a line end and a tab goes out as an escape (\x1b,
// \r, ...): the terminal never runs it. Every write to stdout is checked and
// flushed (a pipe sees each line at once); a failure (a full disk, a reader
// that left: SIGPIPE is ignored) is kept for the exit status. Safe to use
// from several threads.

// False once a write to stdout has failed; nothing more is written then.
bool writeOut(const QString &text);
// Bytes that are safe already (JSON).
bool writeOutBytes(const QByteArray &bytes);
// Empty while every write to stdout succeeded, else the system's reason.
QString outFailure();
// Messages; a failure to write them has nowhere to be reported.
void writeErr(const QString &text);

// One value inside a line of output: every control character, line breaks
// too, as an escape, so an item stays one row.
QString shownValue(const QString &text);
