#include "sim/simframe.h"

#include <QTextCodec>

quint16 simCrc16(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    }
    return crc;
}

void simAppendCrcLowFirst(QByteArray &frame)
{
    const quint16 crc = simCrc16(frame);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
}

void simAppendCrcHighFirst(QByteArray &frame)
{
    const quint16 crc = simCrc16(frame);
    frame.append(static_cast<char>(crc >> 8));
    frame.append(static_cast<char>(crc & 0xFF));
}

QByteArray simAddressAnswer(quint8 address, const QByteArray &payload)
{
    const QByteArray data = payload.left(255);
    QByteArray frame;
    frame.append(static_cast<char>(address));
    frame.append(char(0x03));
    frame.append(static_cast<char>(data.size()));
    frame.append(data);
    simAppendCrcLowFirst(frame);
    return frame;
}

QByteArray simTildeFrame(const QByteArray &body)
{
    QByteArray frame = body;
    simAppendCrcHighFirst(frame);
    frame.append(char(0x7F));
    return frame;
}

QByteArray simTildeReply(const QByteArray &payload)
{
    const int f = payload.size();
    QByteArray body;
    body.append(char(0x7E));
    body.append(char(0x02));
    body.append(char(0x05));
    body.append(char(0x01));
    body.append(char(0x01));
    body.append(static_cast<char>(((f + 3) >> 8) & 0xFF));
    body.append(static_cast<char>((f + 3) & 0xFF));
    body.append(char(0x01));
    body.append(static_cast<char>((f >> 8) & 0xFF));
    body.append(static_cast<char>(f & 0xFF));
    body.append(payload);
    return simTildeFrame(body);
}

static QTextCodec *meterCodec()
{
    static QTextCodec *codec = QTextCodec::codecForName("GB2312");
    return codec;
}

QByteArray simEncodeText(const QString &text)
{
    return meterCodec() ? meterCodec()->fromUnicode(text) : text.toLatin1();
}

QString simDecodeText(const QByteArray &bytes)
{
    return meterCodec() ? meterCodec()->toUnicode(bytes) : QString::fromLatin1(bytes);
}

QString simDecodeStrictText(const QByteArray &bytes)
{
    QString text;
    for (int i = 0; i < bytes.size(); ++i) {
        const quint8 lead = quint8(bytes.at(i));
        if (lead < 0x80) {
            text.append(QLatin1Char(char(lead)));
            continue;
        }
        const quint8 trail = i + 1 < bytes.size() ? quint8(bytes.at(i + 1)) : 0;
        if (lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE) {
            text.append(simDecodeText(bytes.mid(i, 2)));
            ++i;
        } else {
            text.append(QLatin1Char('?'));
        }
    }
    return text;
}

bool simIsGb2312Proper(const QString &text)
{
    return simDecodeStrictText(simEncodeText(text)) == text;
}

QString simHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray simFromHex(const QString &text)
{
    QString digits = text;
    digits.remove(QRegExp(QStringLiteral("\\s")));
    return QByteArray::fromHex(digits.toLatin1());
}
