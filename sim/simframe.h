#pragma once

#include <QByteArray>
#include <QString>

// The meter's own frame helpers. Deliberately independent of the program's
// link code: both sides are written from the protocol tables, so a framing
// mistake shows up as a failed exchange instead of hiding on both sides.

// CRC-16/MODBUS: init 0xFFFF, reflected polynomial 0xA001, no final XOR.
quint16 simCrc16(const QByteArray &bytes);

// Appends the CRC of everything in `frame` so far.
void simAppendCrcLowFirst(QByteArray &frame);
void simAppendCrcHighFirst(QByteArray &frame);

// Address-frame answer: addr 03 n payload crcLo crcHi. n is one byte, so a
// payload longer than 255 bytes is cut to 255.
QByteArray simAddressAnswer(quint8 address, const QByteArray &payload);

// Tilde frame: `body` must start with 0x7E; appends crcHi crcLo 7F.
QByteArray simTildeFrame(const QByteArray &body);

// Reply of the tilde family: 7E 02 05 01 01 (f+3 hi lo) 01 (f hi lo) payload crcHi crcLo 7F.
QByteArray simTildeReply(const QByteArray &payload);

// The meter's text coding.
QByteArray simEncodeText(const QString &text);
QString simDecodeText(const QByteArray &bytes);
// A meter that knows GB2312 proper only (ASCII and the two-byte rows A1..F7
// with trail bytes A1..FE): every other byte is taken as '?'.
QString simDecodeStrictText(const QByteArray &bytes);
// True when such a meter keeps the text as it is.
bool simIsGb2312Proper(const QString &text);

// "01 AB" style, bytes separated by one blank (for logs and test messages).
QString simHex(const QByteArray &bytes);
// Parses "01 ab 03" or "01AB03"; white space ignored.
QByteArray simFromHex(const QString &text);
