#pragma once

#include <QByteArray>
#include <QString>

// What the monitor's send line sends: typed text (GB2312, as the meter
// reads text) or hexadecimal bytes, with a line end and optionally the
// CRC-16 of an address frame.
enum class SendMode { Text, Hex };
enum class SendLineEnd { None, Cr, Lf, CrLf };

struct SendRequest
{
    SendMode mode = SendMode::Text;
    SendLineEnd lineEnd = SendLineEnd::None;
    bool appendCrc = false;
    QString text;
};

struct SendPayload
{
    QByteArray bytes;
    QString error; // empty when the bytes can be sent (context MonitorSend)
};

// Most bytes one send puts on the line, line end and CRC included.
constexpr int kMaxSendBytes = 4096;

// Hex bytes with or without blanks between them ("01 03 4B", "01034b"); each
// group between blanks holds whole bytes. On failure *errorPosition is the
// 1-based position, as typed, of the first character that is not a hex
// digit (*unpaired false) or of a digit left without its partner (true).
QByteArray parseHexBytes(const QString &text, int *errorPosition, bool *unpaired);

// The bytes, the CRC (low byte first, over the bytes) and the line end, or
// the reason they cannot be sent.
SendPayload buildSendPayload(const SendRequest &request);

// "none", "cr", "lf", "crlf" and back; false for an unknown word.
QString lineEndKey(SendLineEnd lineEnd);
bool lineEndFromKey(const QString &key, SendLineEnd *lineEnd);
