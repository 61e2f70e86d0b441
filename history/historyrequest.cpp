#include "history/historyrequest.h"

#include "link/frame.h"

namespace {

void appendDate(QByteArray &frame, const QDate &date)
{
    // Plain binary values, not BCD: 2018 is sent as 18.
    frame.append(static_cast<char>(static_cast<unsigned>(date.year()) % 100));
    frame.append(static_cast<char>(date.month()));
    frame.append(static_cast<char>(date.day()));
}

} // namespace

QByteArray buildHistoryRequest(const QDate &start, const QDate &end)
{
    static const unsigned char kHead[] = { 0x7E, 0x05, 0x02, 0x4E, 0x9F, 0x00, 0x07, 0x91, 0x00, 0x04 };
    QByteArray frame;
    frame.reserve(19);
    frame.append(reinterpret_cast<const char *>(kHead), sizeof(kHead));
    appendDate(frame, start);
    appendDate(frame, end);
    appendFrameCrc(frame, true);
    frame.append(static_cast<char>(0x7F));
    return frame;
}
