#include "monitor/monitorsend.h"

#include "link/frame.h"

#include <QCoreApplication>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The position as people count characters: a pair of surrogates is one.
int typedPosition(const QString &text, int index)
{
    int position = 0;
    for (int i = 0; i <= index && i < text.size(); ++i) {
        if (!text.at(i).isLowSurrogate())
            ++position;
    }
    return position;
}

} // namespace

QByteArray parseHexBytes(const QString &text, int *errorPosition, bool *unpaired)
{
    *errorPosition = 0;
    *unpaired = false;
    QByteArray bytes;
    int high = -1;
    int highIndex = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isBlank(c)) {
            if (high >= 0)
                break; // a byte cut by a blank
            continue;
        }
        const int value = hexValue(c);
        if (value < 0) {
            *errorPosition = typedPosition(text, i);
            return {};
        }
        if (high < 0) {
            high = value;
            highIndex = i;
        } else {
            bytes.append(char(high << 4 | value));
            high = -1;
        }
    }
    if (high >= 0) {
        *errorPosition = typedPosition(text, highIndex);
        *unpaired = true;
        return {};
    }
    return bytes;
}

SendPayload buildSendPayload(const SendRequest &request)
{
    SendPayload payload;
    if (request.mode == SendMode::Hex) {
        int position = 0;
        bool unpaired = false;
        payload.bytes = parseHexBytes(request.text, &position, &unpaired);
        if (position > 0) {
            payload.error = unpaired
                ? QCoreApplication::translate("MonitorSend", "第%1个字符: 十六进制数字不成对").arg(position)
                : QCoreApplication::translate("MonitorSend", "第%1个字符不是十六进制数字").arg(position);
            return payload;
        }
    } else {
        payload.bytes = encodeGb2312(request.text);
        // A character GB2312 lacks would go out as something else.
        if (decodeGb2312(payload.bytes) != request.text) {
            payload.error = QCoreApplication::translate("MonitorSend", "文本含有GB2312以外的字符");
            payload.bytes.clear();
            return payload;
        }
    }
    if (request.appendCrc && !payload.bytes.isEmpty())
        appendFrameCrc(payload.bytes, false);
    switch (request.lineEnd) {
    case SendLineEnd::None:
        break;
    case SendLineEnd::Cr:
        payload.bytes += '\r';
        break;
    case SendLineEnd::Lf:
        payload.bytes += '\n';
        break;
    case SendLineEnd::CrLf:
        payload.bytes += "\r\n";
        break;
    }
    if (payload.bytes.isEmpty()) {
        payload.error = QCoreApplication::translate("MonitorSend", "没有要发送的内容");
    } else if (payload.bytes.size() > kMaxSendBytes) {
        payload.error = QCoreApplication::translate("MonitorSend", "一次最多发送%1字节,这次是%2字节")
                            .arg(kMaxSendBytes)
                            .arg(payload.bytes.size());
        payload.bytes.clear();
    }
    return payload;
}

QString lineEndKey(SendLineEnd lineEnd)
{
    switch (lineEnd) {
    case SendLineEnd::Cr:
        return QStringLiteral("cr");
    case SendLineEnd::Lf:
        return QStringLiteral("lf");
    case SendLineEnd::CrLf:
        return QStringLiteral("crlf");
    case SendLineEnd::None:
        break;
    }
    return QStringLiteral("none");
}

bool lineEndFromKey(const QString &key, SendLineEnd *lineEnd)
{
    for (SendLineEnd candidate : { SendLineEnd::None, SendLineEnd::Cr, SendLineEnd::Lf, SendLineEnd::CrLf }) {
        if (key == lineEndKey(candidate)) {
            *lineEnd = candidate;
            return true;
        }
    }
    return false;
}
