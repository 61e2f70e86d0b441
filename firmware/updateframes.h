#pragma once

#include "link/frame.h"

#include <QByteArray>
#include <QString>

// Frames of the firmware update. Requests start 7E 05 02, replies 7E 02 05;
// every frame ends with its CRC-16 (high byte first) and 7F.

constexpr int kFirmwarePageSize = 1024;

// Appends the CRC of all bytes so far, high byte first, and the closing 7F.
QByteArray closeTildeFrame(QByteArray frame);

// 7E 05 02 29 3F 00 00 C2 C4 7F
QByteArray buildIdentifyRequest();
// 7E 05 02 2A 79 00 00 53 25 7F
QByteArray buildFinishRequest();
// 7E 05 02 2F AC 00 07 91 00 04, size least significant byte first, CRC, 7F
QByteArray buildEraseRequest(quint32 imageSize);
// The 29-byte reply carrying "Erase OK\r\n".
QByteArray expectedEraseReply();
// 1038 bytes: header, page number (mod 256), 1024 data bytes, CRC, 7F.
// Data shorter than a page is filled up with 0xFF, the erased-flash value.
QByteArray buildPageRequest(const QByteArray &data, int pageNumber);
// The reply carrying "Page[n] OK\r\n" for the page number (mod 256).
QByteArray expectedPageReply(int pageNumber);

// The reply check of erase and pages: the exchange succeeded and the reply
// is the expected frame, or holds "Erase OK\r\n" from its first 'E' to the
// next line feed.
bool isAcceptedUpdateReply(LinkResult linkResult, const QByteArray &reply, const QByteArray &expected);

// Whether the bytes are one whole, well-formed reply frame: 7E 02 05 01 01,
// lengths that agree with its size, marker 01, CRC and 7F. Only such a reply
// can identify the meter.
bool isWellFormedReply(const QByteArray &reply);

// Whether the decoded identification reply names the model. The model is
// used as pattern text as it is, without escaping.
bool identificationMatchesModel(const QString &replyText, const QString &model);
// Second line of the model-mismatch message: the meter's model (from its
// identification reply, or the reply's text itself) and the package's.
QString modelMismatchDetail(const QByteArray &reply, const QString &packageModel);
