#include "link/frame.h"

#include <QObject>
#include <QTextCodec>

quint16 crc16(const unsigned char *bytes, int length)
{
    quint16 crc = 0xFFFF;
    for (int i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 1)
                crc = quint16((crc >> 1) ^ 0xA001);
            else
                crc = quint16(crc >> 1);
        }
    }
    return crc;
}

quint16 crc16(const QByteArray &bytes)
{
    return crc16(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
}

void appendFrameCrc(QByteArray &frame, bool crcHighFirst)
{
    const quint16 crc = crc16(frame);
    const char high = char(crc >> 8);
    const char low = char(crc & 0xFF);
    frame.append(crcHighFirst ? high : low);
    frame.append(crcHighFirst ? low : high);
}

bool checkFrameCrc(const unsigned char *bytes, int length, bool crcHighFirst)
{
    if (length < 3)
        return false;
    const quint16 crc = crc16(bytes, length - 2);
    const unsigned char first = bytes[length - 2];
    const unsigned char second = bytes[length - 1];
    const quint16 stored = crcHighFirst ? quint16((first << 8) | second) : quint16((second << 8) | first);
    return crc == stored;
}

bool checkFrameCrc(const QByteArray &bytes, bool crcHighFirst)
{
    return checkFrameCrc(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size(), crcHighFirst);
}

bool isCompleteResponse(const QByteArray &buffer, quint8 deviceAddress, bool crcHighFirst)
{
    if (buffer.isEmpty())
        return false;
    const auto *bytes = reinterpret_cast<const unsigned char *>(buffer.constData());
    const int length = buffer.size();
    // The address test comes first: an instrument at address 0x7E answers address frames.
    if (bytes[0] == deviceAddress) {
        if (length < 5 || length != bytes[2] + 5)
            return false;
        return checkFrameCrc(bytes, length, crcHighFirst);
    }
    if (bytes[0] == 0x7E) {
        if (length < 5 || bytes[length - 1] != 0x7F)
            return false;
        return checkFrameCrc(bytes, length - 1, crcHighFirst);
    }
    return checkFrameCrc(bytes, length, crcHighFirst);
}

namespace {

// Longer than any answer of the instrument: a tilde frame is looked for no further.
constexpr int kLongestTildeAnswer = 1100;

} // namespace

int leadingResponseLength(const QByteArray &buffer, quint8 deviceAddress, bool crcHighFirst)
{
    if (isCompleteResponse(buffer, deviceAddress, crcHighFirst))
        return buffer.size();
    const auto *bytes = reinterpret_cast<const unsigned char *>(buffer.constData());
    const int size = buffer.size();
    if (size < 5)
        return 0;
    // An address answer carries its length; this is also the shape of another
    // device's answer.
    if (bytes[0] == deviceAddress || (bytes[0] != 0x7E && bytes[1] == 0x03)) {
        const int length = bytes[2] + 5;
        return length < size && checkFrameCrc(bytes, length, crcHighFirst) ? length : 0;
    }
    if (bytes[0] != 0x7E)
        return 0;
    const int last = qMin(size - 1, kLongestTildeAnswer);
    for (int end = 4; end < last; ++end) {
        if (bytes[end] == 0x7F && checkFrameCrc(bytes, end, crcHighFirst))
            return end + 1;
    }
    return 0;
}

QString linkErrorText(LinkResult code, const QByteArray &response)
{
    switch (code) {
    case LinkOk:
        if (response.size() > 2 && checkFrameCrc(response, false))
            return QString();
        return QObject::tr("CRC校验错误");
    case LinkSendError:
        return QObject::tr("发送命令超时");
    case LinkReceiveTimeout:
        return QObject::tr("接受数据超时");
    default:
        return QObject::tr("未定义的错误");
    }
}

namespace {

QTextCodec *gb2312Codec()
{
    return QTextCodec::codecForName("gb2312");
}

} // namespace

QByteArray encodeGb2312(const QString &text)
{
    QTextCodec *codec = gb2312Codec();
    return codec ? codec->fromUnicode(text) : text.toLocal8Bit();
}

QString decodeGb2312(const char *bytes, int length)
{
    if (!bytes || length <= 0)
        return QString();
    QTextCodec *codec = gb2312Codec();
    return codec ? codec->toUnicode(bytes, length) : QString::fromLocal8Bit(bytes, length);
}

QString decodeGb2312(const QByteArray &bytes)
{
    return decodeGb2312(bytes.constData(), bytes.size());
}

QString hexDump(const QByteArray &bytes)
{
    const QByteArray digits = bytes.toHex().toUpper();
    QString text;
    text.reserve(digits.size() / 2 * 3);
    for (int i = 0; i < digits.size(); ++i) {
        text += QLatin1Char(digits.at(i));
        if (i % 2 == 1)
            text += QLatin1Char(' ');
    }
    return text;
}

bool itemTextFits(const QString &text)
{
    return encodeGb2312(text).size() <= kMaxItemTextBytes;
}

QByteArray buildItemWriteFrame(quint8 address, int index, const QString &text)
{
    const QByteArray encoded = encodeGb2312(text);
    if (encoded.size() > kMaxItemTextBytes)
        return QByteArray();
    QByteArray frame;
    frame.reserve(encoded.size() + 10);
    frame.append(char(address));
    frame.append(char(0x0F));
    frame.append(char(0x4B));
    frame.append(char(index & 0xFF));
    frame.append(char(0x00));
    frame.append(char(0x00));
    frame.append(char(encoded.size() + 1));
    frame.append(encoded);
    frame.append(char(0x00));
    appendFrameCrc(frame, false);
    return frame;
}
