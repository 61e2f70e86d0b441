#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// How the monitor shows one received line.
enum class MonitorMode {
    Original, // the text as received
    Hex, // prefix and hex dump
    OriginalHex, // prefix, cleaned text and hex dump
};

// "[yyyy-MM-dd hh:mm:ss.zzz][n] : "
QString monitorPrefix(const QDateTime &time, int byteCount);

// The text appended to the display for one line (line feed included in `line`).
QString formatMonitorLine(const QByteArray &line, MonitorMode mode, const QDateTime &time);
