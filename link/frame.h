#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Result of one request/response exchange with the instrument.
enum LinkResult : int {
    // Gave up because the caller's stop flag was set; no error to show.
    LinkStopped = -1,
    LinkOk = 0,
    LinkSendError = 1,
    LinkReceiveTimeout = 2,
};

// CRC-16/MODBUS: init 0xFFFF, reflected polynomial 0xA001, no final XOR.
quint16 crc16(const unsigned char *bytes, int length);
quint16 crc16(const QByteArray &bytes);

// Appends the CRC-16 of the whole frame: low byte first for address frames,
// high byte first for tilde frames.
void appendFrameCrc(QByteArray &frame, bool crcHighFirst);

// Compares the CRC of the first length-2 bytes with the last two bytes.
bool checkFrameCrc(const unsigned char *bytes, int length, bool crcHighFirst);
bool checkFrameCrc(const QByteArray &bytes, bool crcHighFirst);

// Whether the bytes collected so far form one complete response.
bool isCompleteResponse(const QByteArray &buffer, quint8 deviceAddress, bool crcHighFirst);

// Length of the complete response at the start of the buffer, 0 when there is
// none (yet): the whole buffer when it passes isCompleteResponse, otherwise a
// leading address answer (of any address) or tilde frame whose CRC checks, so
// two answers that arrive in one piece can be told apart.
int leadingResponseLength(const QByteArray &buffer, quint8 deviceAddress, bool crcHighFirst);

// Empty on success, otherwise the user-visible message (context QObject).
QString linkErrorText(LinkResult code, const QByteArray &response);

QByteArray encodeGb2312(const QString &text);
QString decodeGb2312(const char *bytes, int length);
QString decodeGb2312(const QByteArray &bytes);

// "01 AB " style: two upper-case digits and a blank per byte.
QString hexDump(const QByteArray &bytes);

// Longest item text, in GB2312 bytes, that the one-byte length of a write
// frame can carry (it counts the terminating zero too). The one limit on item
// values: every check of a value's length uses it.
constexpr int kMaxItemTextBytes = 254;

// Whether the text fits an item write frame; callers refuse longer texts before sending.
bool itemTextFits(const QString &text);

// addr 0F 4B index 00 00 L text... 00 crcLo crcHi, L = text bytes + 1; the index
// keeps its low eight bits. Empty when the text does not fit (see itemTextFits):
// a cut text or a wrapped length byte would write something else than asked.
QByteArray buildItemWriteFrame(quint8 address, int index, const QString &text);
