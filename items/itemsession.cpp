#include "items/itemsession.h"

#include "items/itemframes.h"
#include "link/devicechannel.h"
#include "link/frame.h"

#include <QCoreApplication>
#include <QTextCodec>

namespace {

QString windowText(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// Empty when the answer is a well-formed item answer of this meter; the two
// check texts are shown as the instrument's words, untranslated.
QString itemAnswerError(const QByteArray &buffer, quint8 address)
{
    if (buffer.size() > 4 && quint8(buffer.at(0)) == address && buffer.at(1) == 0x03) {
        if (buffer.size() == quint8(buffer.at(2)) + 5)
            return {};
        return QStringLiteral("数据长度校验错误 : \n%1").arg(hexDump(buffer));
    }
    return QStringLiteral("地址或命令校验错误: \n%1").arg(hexDump(buffer));
}

bool isStopped(const std::atomic_bool *stop)
{
    return stop && stop->load();
}

} // namespace

ItemSession::ItemSession(DeviceChannel &channel)
    : m_channel(channel)
{
}

ItemReadResult ItemSession::readItem(int index, const std::atomic_bool *stop) const
{
    ItemReadResult read;
    read.record.index = index;
    const QByteArray request = buildItemReadFrame(m_channel.deviceAddress(), index);
    LinkResult result = m_channel.transact(request, read.answer, false, kFirstReadTimeoutMs);
    if (result != LinkStopped && !isStopped(stop) && !linkErrorText(result, read.answer).isEmpty()) {
        const LinkResult first = result;
        result = m_channel.transact(request, read.answer, false, kRetryReadTimeoutMs);
        // The first attempt's answer may still come, after the repeated one.
        if (first == LinkReceiveTimeout && result == LinkOk && linkErrorText(result, read.answer).isEmpty())
            m_channel.discardLateAnswer(false);
    }
    if (result == LinkStopped || isStopped(stop)) {
        read.stopped = true;
        return read;
    }
    read.error = linkErrorText(result, read.answer);
    if (read.error.isEmpty())
        read.error = itemAnswerError(read.answer, m_channel.deviceAddress());
    if (!read.error.isEmpty())
        return read;
    const int length = quint8(read.answer.at(2));
    read.endOfList = length == 0;
    if (!read.endOfList)
        read.record.fields = splitItemText(decodeGb2312(read.answer.constData() + 3, length));
    return read;
}

ItemListResult ItemSession::readList(
    const std::function<void(const ItemRecord &)> &onItem, const std::atomic_bool *stop) const
{
    ItemListResult list;
    QByteArray previous;
    for (int index = 0;; ++index) {
        if (isStopped(stop)) {
            list.stopped = true;
            return list;
        }
        // Past the last index byte the instrument would be asked for the same
        // items again, forever.
        if (index > kLastItemIndex) {
            list.error = QCoreApplication::translate("RefreshThread", "设备在第%1项后仍未结束配置列表,已停止读取")
                             .arg(kLastItemIndex + 1);
            return list;
        }
        ItemReadResult read = readItem(index, stop);
        // The previous answer once more: most likely a repeated copy of it
        // that came after this request went out, with this item's own answer
        // right behind. Let that one go by and ask again; an instrument whose
        // two items read the same simply says so twice.
        if (!read.stopped && read.error.isEmpty() && !read.endOfList && read.answer == previous) {
            m_channel.discardLateAnswer(false);
            read = readItem(index, stop);
        }
        list.stopped = read.stopped;
        list.error = read.error;
        if (read.stopped || !read.error.isEmpty() || read.endOfList)
            return list;
        previous = read.answer;
        ++list.count;
        if (onItem)
            onItem(read.record);
    }
}

QString ItemWriteResult::outcome() const
{
    if (!confirmed)
        return error;
    return matches ? QStringLiteral("ok") : QStringLiteral("refused");
}

QString ClockResult::timeText(const QDateTime &localTime)
{
    return localTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString ClockResult::answerText() const
{
    return acknowledged ? QStringLiteral("OK") : QString();
}

QString ClockResult::outcome() const
{
    if (!error.isEmpty())
        return error;
    return acknowledged ? QStringLiteral("ok") : QStringLiteral("refused");
}

ItemWriteResult ItemSession::writeItem(
    int index, const QString &expectedName, const QString &value, int expectedFields) const
{
    ItemWriteResult write;
    // The codec would put '?' for what it cannot map, and the count byte
    // cannot describe a longer text: refuse rather than write something else.
    if (!QTextCodec::codecForName("gb2312")->canEncode(value)) {
        write.error = windowText(QT_TRANSLATE_NOOP("MainWindow", "配置值含有设备无法表示的字符,未写入"));
        return write;
    }
    const int bytes = encodeGb2312(value).size();
    if (bytes > kMaxItemTextBytes) {
        write.error
            = windowText(QT_TRANSLATE_NOOP("MainWindow", "配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入"))
                  .arg(bytes)
                  .arg(kMaxItemTextBytes);
        return write;
    }

    const QByteArray request = buildItemWriteFrame(m_channel.deviceAddress(), index, value);
    QByteArray answer;
    const LinkResult result = m_channel.transact(request, answer, false, kWriteTimeoutMs);
    write.error = linkErrorText(result, answer);
    if (!write.error.isEmpty())
        return write;
    if (!parseItemAnswer(answer, m_channel.deviceAddress(), &write.answer) || write.answer.size() != expectedFields) {
        write.error = windowText(QT_TRANSLATE_NOOP("MainWindow", "硬件返回数据校验错误"));
        return write;
    }
    // Answers carry no index: a late answer to an earlier request looks just
    // like this one, except for the item it names.
    if (!expectedName.isEmpty() && write.answer.at(0) != expectedName) {
        write.error = windowText(QT_TRANSLATE_NOOP("MainWindow", "设备应答的配置项“%1”不是所写的“%2”,写入未确认"))
                          .arg(write.answer.at(0), expectedName);
        return write;
    }
    write.confirmed = true;
    const QString shown = expectedFields == 2 ? QLatin1String(": ") + write.answer.at(1) : QString();
    write.accepted = value.isEmpty() || shown.contains(value, Qt::CaseSensitive);
    write.matches = expectedFields == 1 || write.answer.at(1).trimmed() == value.trimmed();
    return write;
}

int ItemSession::writeBatch(const QVector<ItemWriteRequest> &rows, const std::function<void(int)> &onStart,
    const std::function<bool(int, const ItemWriteResult &)> &onResult, const std::atomic_bool *stop) const
{
    int confirmed = 0;
    for (int row = 0; row < rows.size(); ++row) {
        if (isStopped(stop))
            break;
        if (onStart)
            onStart(row);
        // onStart may show the row and let the user stop before it is sent.
        if (isStopped(stop))
            break;
        const ItemWriteRequest &request = rows.at(row);
        const ItemWriteResult result = writeItem(request.index, request.name, request.value, 2);
        const bool goOn = onResult ? onResult(row, result) : true;
        if (!result.confirmed || !goOn)
            break;
        ++confirmed;
    }
    return confirmed;
}

ClockResult ItemSession::setClock(const QDateTime &localTime) const
{
    ClockResult clock;
    clock.frame = buildClockFrame(m_channel.deviceAddress(), localTime);
    QByteArray answer;
    const LinkResult result = m_channel.transact(clock.frame, answer, false, kWriteTimeoutMs);
    clock.error = linkErrorText(result, answer);
    clock.acknowledged = clock.error.isEmpty() && answer == clockAcknowledgement(m_channel.deviceAddress());
    return clock;
}
