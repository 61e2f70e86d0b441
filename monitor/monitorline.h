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

// What a view shows of one line: the whole line up to `maxShownBytes`; of a
// longer one only its start and `clippedNote` ("%1" = the line's byte count),
// so one huge line cannot stall the text layout. A line without line feed
// (cut at the splitter's cap, or clipped here) still ends the view's line.
struct MonitorLineFormat
{
    // 4 KiB: a screenful of text, several of hex.
    static constexpr int kDefaultMaxShownBytes = 4096;

    MonitorMode mode = MonitorMode::Original;
    // -1: no bound (what a recording keeps).
    int maxShownBytes = kDefaultMaxShownBytes;
    QString clippedNote;
    // Text mode only: "[yyyy-MM-dd hh:mm:ss.zzz] " before the line.
    bool timestamps = false;
};
QString formatShownLine(const QByteArray &line, const MonitorLineFormat &format, const QDateTime &time);

// The same bound for decoded text: at most `maxChars` characters, then the
// note ("%1" = the text's length); a line end the text had is kept.
QString clipShownText(const QString &text, int maxChars, const QString &clippedNote);

// A line of the monitor's own between the received ones: "—— 连接已断开 hh:mm:ss ——"
// when the port went away, "—— 已重新连接 hh:mm:ss ——" when it came back;
// line end included.
QString monitorLinkMarker(bool lost, const QDateTime &time);

// What was sent, shown like a received line of that format after "→ ".
QString monitorSentLine(const QByteArray &bytes, const MonitorLineFormat &format, const QDateTime &time);
