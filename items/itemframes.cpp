#include "items/itemframes.h"

#include "link/frame.h"

QByteArray buildItemReadFrame(quint8 address, int index)
{
    QByteArray frame;
    frame.append(char(address));
    frame.append(char(0x03));
    frame.append(char(0x4B));
    frame.append(char(index & 0xFF));
    frame.append(char(0x00));
    frame.append(char(0x00));
    appendFrameCrc(frame, false);
    return frame;
}

QStringList splitItemText(const QString &text)
{
    QStringList parts = text.split(QLatin1Char(':'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    for (QString &part : parts)
        part = part.trimmed();
    return parts;
}

bool parseItemAnswer(const QByteArray &answer, quint8 address, QStringList *fields)
{
    if (answer.size() <= 4 || quint8(answer.at(0)) != address || answer.at(1) != 0x03)
        return false;
    const int length = quint8(answer.at(2));
    if (answer.size() != length + 5)
        return false;
    if (fields)
        *fields = splitItemText(decodeGb2312(answer.constData() + 3, length));
    return true;
}

QByteArray buildClockFrame(quint8 address, const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    QByteArray frame;
    frame.append(char(address));
    frame.append("\x0F\x4D\x08\x00\x03\x07", 6);
    frame.append(char(date.year() % 100));
    frame.append(char(date.month()));
    frame.append(char(date.day()));
    frame.append(char(time.hour()));
    frame.append(char(time.minute()));
    frame.append(char(time.second()));
    frame.append(char(date.dayOfWeek()));
    appendFrameCrc(frame, false);
    return frame;
}

QByteArray clockAcknowledgement(quint8 address)
{
    QByteArray frame;
    frame.append(char(address));
    frame.append("\x03\x02OK", 4);
    appendFrameCrc(frame, false);
    return frame;
}
