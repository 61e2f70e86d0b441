#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

// addr 03 4B index 00 00 crcLo crcHi
QByteArray buildItemReadFrame(quint8 address, int index);

// Splits an item text at every colon, keeping empty parts, each part trimmed.
QStringList splitItemText(const QString &text);

// Checks an item answer (addr 03 n text crcLo crcHi) for the address, the
// function code and the length byte; on success fills the decoded fields.
// The CRC is the caller's concern (linkErrorText).
bool parseItemAnswer(const QByteArray &answer, quint8 address, QStringList *fields);

// addr 0F 4D 08 00 03 07 YY MM DD hh mm ss dow crcLo crcHi, plain binary.
QByteArray buildClockFrame(quint8 address, const QDateTime &dateTime);

// addr 03 02 'O' 'K' crcLo crcHi
QByteArray clockAcknowledgement(quint8 address);
