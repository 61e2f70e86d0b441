#pragma once

#include <QByteArray>
#include <QDate>

// The 19-byte tilde frame asking for the history records between two whole
// days: 7E 05 02 4E 9F 00 07 91 00 04 YY MM DD YY MM DD crcHi crcLo 7F.
// The length words stay 0x0007/0x0004 although six date bytes follow; the
// instrument expects exactly these values.
QByteArray buildHistoryRequest(const QDate &start, const QDate &end);
