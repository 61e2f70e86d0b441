#include "firmware/updateframes.h"

#include "link/frame.h"

#include <QCoreApplication>
#include <QRegExp>
#include <QRegularExpression>

namespace {

// Frame with a body: command, L + 3, marker (91 request, 01 reply), L, payload.
QByteArray bodyFrame(const char *start, char marker, const QByteArray &payload)
{
    QByteArray frame(start, 5);
    const int length = payload.size();
    frame.reserve(length + 13);
    frame.append(char((length + 3) >> 8)).append(char(length + 3));
    frame.append(marker);
    frame.append(char(length >> 8)).append(char(length));
    frame.append(payload);
    return closeTildeFrame(frame);
}

const char kReplyStart[] = "\x7E\x02\x05\x01\x01";
const char kRequestMarker = char(0x91);
const char kReplyMarker = 0x01;
const char kEraseOk[] = "Erase OK\r\n";

} // namespace

QByteArray closeTildeFrame(QByteArray frame)
{
    appendFrameCrc(frame, true);
    frame.append(char(0x7F));
    return frame;
}

QByteArray buildIdentifyRequest()
{
    return closeTildeFrame(QByteArray("\x7E\x05\x02\x29\x3F\x00\x00", 7));
}

QByteArray buildFinishRequest()
{
    return closeTildeFrame(QByteArray("\x7E\x05\x02\x2A\x79\x00\x00", 7));
}

QByteArray buildEraseRequest(quint32 imageSize)
{
    QByteArray size;
    for (int shift = 0; shift < 32; shift += 8)
        size.append(char((imageSize >> shift) & 0xFF));
    return bodyFrame("\x7E\x05\x02\x2F\xAC", kRequestMarker, size);
}

QByteArray expectedEraseReply()
{
    QByteArray payload(kEraseOk);
    payload.append(QByteArray("\x00\x00\x00\xC1\x81\x40", 6));
    return bodyFrame(kReplyStart, kReplyMarker, payload);
}

QByteArray buildPageRequest(const QByteArray &data, int pageNumber)
{
    QByteArray payload;
    payload.reserve(kFirmwarePageSize + 1);
    payload.append(char(pageNumber & 0xFF));
    payload.append(data.left(kFirmwarePageSize));
    if (data.size() < kFirmwarePageSize)
        payload.append(QByteArray(kFirmwarePageSize - data.size(), char(0xFF)));
    return bodyFrame("\x7E\x05\x02\x2C\x01", kRequestMarker, payload);
}

QByteArray expectedPageReply(int pageNumber)
{
    const QString text = QStringLiteral("Page[%1] OK\r\n").arg(pageNumber & 0xFF);
    return bodyFrame(kReplyStart, kReplyMarker, encodeGb2312(text));
}

bool isAcceptedUpdateReply(LinkResult linkResult, const QByteArray &reply, const QByteArray &expected)
{
    if (linkResult != LinkOk)
        return false;
    if (reply == expected)
        return true;
    const int start = reply.indexOf('E');
    if (start < 0)
        return false;
    const int end = reply.indexOf('\n', start);
    if (end < 0)
        return false;
    return reply.mid(start, end - start + 1) == QByteArray(kEraseOk);
}

bool isWellFormedReply(const QByteArray &reply)
{
    const int size = reply.size();
    if (size < 13 || !reply.startsWith(QByteArray(kReplyStart, 5)) || reply.at(7) != kReplyMarker
        || quint8(reply.at(size - 1)) != 0x7F)
        return false;
    const auto lengthAt = [&reply](int offset) {
        return (quint8(reply.at(offset)) << 8) | quint8(reply.at(offset + 1));
    };
    const int length = lengthAt(8);
    return lengthAt(5) == length + 3 && size == length + 13 && checkFrameCrc(reply.left(size - 1), true);
}

QString modelMismatchDetail(const QByteArray &reply, const QString &packageModel)
{
    // A tilde frame carries its text after ten header bytes, its length in
    // bytes 8 and 9; the CRC after it is no part of what the meter said.
    QByteArray payload = reply;
    if (reply.size() >= 12 && quint8(reply.at(0)) == 0x7E) {
        const int length = (quint8(reply.at(8)) << 8) | quint8(reply.at(9));
        if (10 + length <= reply.size())
            payload = reply.mid(10, length);
    }
    const QString replyText = decodeGb2312(payload);
    static const QRegularExpression kFindReply(QStringLiteral("Find\\s+(\\S+)\\s+OK"));
    const QRegularExpressionMatch match = kFindReply.match(replyText);
    QString device = match.hasMatch() ? match.captured(1) : QString();
    if (device.isEmpty()) {
        // Not the expected form: the longest readable piece of the reply.
        static const QRegularExpression kReadable(QStringLiteral("[\\x{20}-\\x{7e}]{3,}"));
        auto pieces = kReadable.globalMatch(replyText);
        while (pieces.hasNext()) {
            const QString piece = pieces.next().captured().simplified();
            if (piece.size() > device.size())
                device = piece;
        }
    }
    // Whatever the meter sent, the message stays short.
    if (device.size() > 40)
        device = device.left(40) + QStringLiteral("…");
    if (device.isEmpty())
        device = QCoreApplication::translate("UpdateThread", "未知");
    return QCoreApplication::translate("UpdateThread", "设备型号: %1\n文件型号: %2").arg(device, packageModel);
}

bool identificationMatchesModel(const QString &replyText, const QString &model)
{
    const QRegExp pattern(QStringLiteral("!?Find\\s+%1\\s+OK").arg(model));
    return pattern.indexIn(replyText) >= 0;
}
