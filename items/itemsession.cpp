#include "items/itemsession.h"

#include "items/itemframes.h"
#include "items/itemvalue.h"
#include "link/devicechannel.h"
#include "link/frame.h"

#include <QCoreApplication>
#include <QHash>

namespace {

QString windowText(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

const char *const kLengthCheck = QT_TRANSLATE_NOOP("ItemSession", "数据长度校验错误 : \n%1");
const char *const kAddressCheck = QT_TRANSLATE_NOOP("ItemSession", "地址或命令校验错误: \n%1");

// Empty when the answer is a well-formed item answer of this meter; the two
// check texts are shown as the instrument's words, untranslated.
QString itemAnswerProblem(const QByteArray &buffer, quint8 address)
{
    if (buffer.size() > 4 && quint8(buffer.at(0)) == address && buffer.at(1) == 0x03) {
        if (buffer.size() == quint8(buffer.at(2)) + 5)
            return {};
        return QString::fromUtf8(kLengthCheck).arg(hexDump(buffer));
    }
    return QString::fromUtf8(kAddressCheck).arg(hexDump(buffer));
}

bool isStopped(const std::atomic_bool *stop)
{
    return stop && stop->load();
}

// Whether the item's fields carry the value (both trimmed as the tree shows
// them); a command carries none and always does.
bool holdsValue(const QStringList &fields, const QString &value)
{
    return fields.size() < 2 || fields.at(1).trimmed() == value.trimmed();
}

// The outcome an answer of the item itself proves.
void judgeHeld(ItemWriteResult &write, const QStringList &fields, const QString &value)
{
    write.answer = fields;
    write.outcome = holdsValue(fields, value) ? WriteOutcome::Ok : WriteOutcome::Refused;
    const QString shown = fields.size() >= 2 ? QLatin1String(": ") + fields.at(1) : QString();
    write.accepted = value.isEmpty() || shown.contains(value, Qt::CaseSensitive);
    write.failure = LinkFailure();
}

} // namespace

QString translatedAnswerCheck(const QString &error)
{
    for (const char *check : { kLengthCheck, kAddressCheck }) {
        const QString start = QString::fromUtf8(check).chopped(2);
        if (error.startsWith(start))
            return QCoreApplication::translate("ItemSession", check).arg(error.mid(start.size()));
    }
    return error;
}

ItemSession::ItemSession(DeviceChannel &channel)
    : m_channel(channel)
{
}

ItemReadResult ItemSession::readResult(
    int index, const DeviceChannel::Answer &answer, const std::atomic_bool *stop) const
{
    ItemReadResult read;
    read.record.index = index;
    read.answer = answer.bytes;
    read.remembered = answer.remembered;
    if (answer.result == LinkStopped || isStopped(stop)) {
        read.stopped = true;
        return read;
    }
    read.failure = m_channel.exchangeFailure(answer.result, read.answer);
    if (!read.failure.failed()) {
        const QString problem = itemAnswerProblem(read.answer, m_channel.deviceAddress());
        if (!problem.isEmpty())
            read.failure = m_channel.failure(LinkFailure::Kind::BadAnswer, problem);
    }
    if (read.failure.failed())
        return read;
    const int length = quint8(read.answer.at(2));
    read.endOfList = length == 0;
    if (!read.endOfList) {
        read.record.fields = splitItemText(decodeGb2312(read.answer.constData() + 3, length));
        if (!read.record.fields.at(0).isEmpty())
            m_indexOfName.insert(read.record.fields.at(0), index);
    }
    return read;
}

DeviceChannel::Answer ItemSession::exchangeRead(int index, int timeoutMs) const
{
    const quint8 address = m_channel.deviceAddress();
    const DeviceChannel::AnswerJudge judge = [&](const QByteArray &answer, bool remembered) {
        // Answers carry no index; the name they carry is the item's own.
        QStringList fields;
        if (parseItemAnswer(answer, address, &fields)) {
            const auto read = m_indexOfName.constFind(fields.at(0));
            if (read != m_indexOfName.cend() && read.value() != index)
                return remembered ? DeviceChannel::Verdict::LetGoCopy : DeviceChannel::Verdict::LetGoOther;
        }
        return DeviceChannel::Verdict::Take;
    };
    // A copy's own answer is right behind it, unless it was lost.
    return m_channel.exchange(
        buildItemReadFrame(address, index), false, timeoutMs, judge, DeviceChannel::kLateAnswerWindowMs);
}

ItemReadResult ItemSession::askItem(int index, const std::atomic_bool *stop) const
{
    DeviceChannel::Answer answer = exchangeRead(index, timeoutMs(kFirstReadTimeoutMs));
    if (answer.result != LinkStopped && !isStopped(stop)
        && linkFailureKind(answer.result, answer.bytes) != LinkFailure::Kind::None) {
        const LinkResult first = answer.result;
        answer = exchangeRead(index, timeoutMs(kRetryReadTimeoutMs));
        // The first attempt's answer may still come, after the repeated one.
        if (first == LinkReceiveTimeout && answer.result == LinkOk
            && linkFailureKind(LinkOk, answer.bytes) == LinkFailure::Kind::None)
            m_channel.discardLateAnswer(false);
    }
    return readResult(index, answer, stop);
}

ItemReadResult ItemSession::readItem(int index, const std::atomic_bool *stop) const
{
    ItemReadResult read = askItem(index, stop);
    // An answer handed out before: most likely a copy of it that came after
    // this request went out, with this item's own answer right behind. Let
    // that go by and ask again; an instrument whose two items read the same
    // simply says so twice.
    if (!read.stopped && !read.failure.failed() && read.remembered) {
        m_channel.discardLateAnswer(false);
        read = askItem(index, stop);
        read.repeated = true;
    }
    return read;
}

ItemListResult ItemSession::readList(const std::function<void(const ItemRecord &)> &onItem,
    const std::atomic_bool *stop, const std::function<void()> &onRestart) const
{
    ItemListResult list;
    for (int pass = 0;; ++pass) {
        list.count = 0;
        QHash<QByteArray, int> rows; // answer -> index
        for (int index = 0;; ++index) {
            if (isStopped(stop)) {
                list.stopped = true;
                return list;
            }
            // Past the last index byte the instrument would be asked for the
            // same items again, forever.
            if (index > kLastItemIndex) {
                list.failure = m_channel.failure(LinkFailure::Kind::BadAnswer,
                    QCoreApplication::translate("RefreshThread", "设备在第%1项后仍未结束配置列表,已停止读取")
                        .arg(kLastItemIndex + 1));
                return list;
            }
            const ItemReadResult read = readItem(index, stop);
            list.repeated = list.repeated || read.repeated;
            list.stopped = read.stopped;
            list.failure = read.failure;
            // A row's very bytes once more, taken or the only answer that
            // came: an answer came so late that it took another item's place
            // (or two items read the same), and the rows after it may be out
            // of step. Read once more from a quiet line; twice is a failure.
            const auto earlier = read.stopped ? rows.cend() : rows.constFind(read.answer);
            if (earlier == rows.cend() && (read.stopped || read.failure.failed() || read.endOfList))
                return list;
            if (earlier != rows.cend()) {
                list.failure = LinkFailure();
                list.repeated = true;
                if (pass > 0) {
                    list.failure = m_channel.failure(LinkFailure::Kind::BadAnswer,
                        QCoreApplication::translate(
                            "RefreshThread", "配置项%1与配置项%2的应答完全相同,列表可能错位,请重新读取")
                            .arg(earlier.value())
                            .arg(index));
                    return list;
                }
                break;
            }
            rows.insert(read.answer, index);
            ++list.count;
            if (onItem)
                onItem(read.record);
        }
        m_channel.discardLateAnswer(false);
        m_channel.forgetAnswers();
        m_indexOfName.clear();
        if (onRestart)
            onRestart();
    }
}

QString ClockResult::timeText(const QDateTime &localTime)
{
    return localTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

LinkFailure ItemSession::unknownReason(const DeviceChannel::Answer &answer, const QString &expectedName) const
{
    // Answers carry no index: a late answer to an earlier request looks just
    // like this one, except for the item it names.
    QStringList fields;
    if (!expectedName.isEmpty() && parseItemAnswer(answer.bytes, m_channel.deviceAddress(), &fields)
        && fields.value(0) != expectedName) {
        return m_channel.failure(LinkFailure::Kind::BadAnswer,
            windowText(QT_TRANSLATE_NOOP("MainWindow", "设备应答的配置项“%1”不是所写的“%2”,写入未确认"))
                .arg(fields.value(0), expectedName));
    }
    const LinkFailure checkError = m_channel.failure(
        LinkFailure::Kind::BadAnswer, windowText(QT_TRANSLATE_NOOP("MainWindow", "硬件返回数据校验错误")));
    // Bytes came, and the line went quiet without an answer of its own among them.
    if (answer.result == LinkOk) {
        const LinkFailure crc = m_channel.exchangeFailure(LinkOk, answer.bytes);
        return crc.failed() ? crc : checkError;
    }
    if (answer.result == LinkReceiveTimeout && answer.othersLetGo > 0)
        return checkError;
    return m_channel.exchangeFailure(answer.result, answer.bytes);
}

void ItemSession::readBack(int index, const QString &expectedName, const QString &value, ItemWriteResult &write) const
{
    // What is still on its way belongs to the write or to earlier requests.
    m_channel.discardLateAnswer(false);
    ItemReadResult read = readResult(index, exchangeRead(index, timeoutMs(kFirstReadTimeoutMs)), nullptr);
    if (!read.failure.failed() && read.remembered) {
        m_channel.discardLateAnswer(false);
        read = readResult(index, exchangeRead(index, timeoutMs(kFirstReadTimeoutMs)), nullptr);
    }
    const QStringList &fields = read.record.fields;
    if (read.failure.failed() || read.endOfList || fields.size() != 2
        || (!expectedName.isEmpty() && fields.at(0) != expectedName))
        return;
    judgeHeld(write, fields, value);
    write.readBack = true;
}

ItemWriteResult ItemSession::writeItem(
    int index, const QString &expectedName, const QString &value, int expectedFields) const
{
    ItemWriteResult write;
    const QString problem = itemValueProblem(expectedName, value);
    if (!problem.isEmpty()) {
        write.failure = LinkFailure::of(LinkFailure::Kind::Other, problem);
        return write;
    }

    const quint8 address = m_channel.deviceAddress();
    const DeviceChannel::AnswerJudge judge = [&](const QByteArray &answer, bool remembered) {
        QStringList fields;
        if (!parseItemAnswer(answer, address, &fields) || fields.size() != expectedFields
            || (!expectedName.isEmpty() && fields.at(0) != expectedName))
            return DeviceChannel::Verdict::LetGoOther;
        // An earlier answer of this item without the value asked for tells
        // what the meter held before; one with it says what the write's own
        // answer would say, so it is as good as that.
        if (remembered && !holdsValue(fields, value))
            return DeviceChannel::Verdict::LetGoCopy;
        return DeviceChannel::Verdict::Take;
    };
    const DeviceChannel::Answer answer = m_channel.exchange(buildItemWriteFrame(address, index, value), false,
        timeoutMs(kWriteTimeoutMs), judge, DeviceChannel::kLateAnswerWindowMs);
    if (answer.taken) {
        QStringList fields;
        parseItemAnswer(answer.bytes, address, &fields);
        judgeHeld(write, fields, value);
        return write;
    }
    write.outcome = WriteOutcome::Unknown;
    write.failure = unknownReason(answer, expectedName);
    // A command leaves nothing to read back.
    if (expectedFields == 2 && answer.result != LinkStopped)
        readBack(index, expectedName, value, write);
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
        if (!result.confirmed() || !goOn)
            break;
        ++confirmed;
    }
    return confirmed;
}

ClockResult ItemSession::setClock(const QDateTime &localTime) const
{
    ClockResult clock;
    const quint8 address = m_channel.deviceAddress();
    clock.frame = buildClockFrame(address, localTime);
    const DeviceChannel::AnswerJudge judge = [address](const QByteArray &answer, bool remembered) {
        if (answer.size() != 7 || quint8(answer.at(0)) != address || answer.at(1) != 0x03 || answer.at(2) != 2)
            return DeviceChannel::Verdict::LetGoOther;
        return remembered ? DeviceChannel::Verdict::LetGoCopy : DeviceChannel::Verdict::Take;
    };
    const DeviceChannel::Answer answer = m_channel.exchange(clock.frame, false, timeoutMs(kWriteTimeoutMs), judge);
    if (answer.taken) {
        clock.answer = decodeGb2312(answer.bytes.mid(3, 2));
        clock.outcome = answer.bytes == clockAcknowledgement(address) ? WriteOutcome::Ok : WriteOutcome::Refused;
        return clock;
    }
    // The clock cannot be read back: what it holds stays unknown.
    clock.failure = unknownReason(answer, QString());
    return clock;
}
