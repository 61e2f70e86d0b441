#include "firmware/updatethread.h"

#include "firmware/updateframes.h"
#include "link/devicechannel.h"
#include "link/frame.h"

namespace {

const int kExchangeTimeoutMs = 10000;

} // namespace

UpdateThread::UpdateThread(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<LinkFailure>();
}

UpdateThread::~UpdateThread()
{
    wait();
}

void UpdateThread::setInfo(const DEncryptInfo &info)
{
    m_info = info;
}

namespace {

// Only a whole reply frame tells the model: one cut short, with a broken CRC
// or noise, or some other answer is no identification at all.
DeviceChannel::Verdict identificationOnly(const QByteArray &answer, bool)
{
    return isWellFormedReply(answer) ? DeviceChannel::Verdict::Take : DeviceChannel::Verdict::LetGoOther;
}

// Erase and pages count only by their own answers: a copy of an earlier one
// (the erase answer that came twice, the identification) is let go, and the
// exchange waits on for its own.
DeviceChannel::Verdict ownReplyOnly(const QByteArray &, bool remembered)
{
    return remembered ? DeviceChannel::Verdict::LetGoCopy : DeviceChannel::Verdict::Take;
}

bool exchangeChecked(DeviceChannel &channel, const QByteArray &request, const QByteArray &expected)
{
    const DeviceChannel::Answer reply = channel.exchange(request, true, kExchangeTimeoutMs, ownReplyOnly);
    return isAcceptedUpdateReply(reply.result, reply.bytes, expected);
}

} // namespace

bool UpdateThread::identify(DeviceChannel &channel, QByteArray &reply)
{
    const DeviceChannel::Answer answer
        = channel.exchange(buildIdentifyRequest(), true, kExchangeTimeoutMs, identificationOnly);
    reply = answer.taken ? answer.bytes : QByteArray();
    return answer.taken;
}

bool UpdateThread::erase(DeviceChannel &channel, quint32 imageSize)
{
    return exchangeChecked(channel, buildEraseRequest(imageSize), expectedEraseReply());
}

bool UpdateThread::sendPage(DeviceChannel &channel, const char *page, int pageNumber)
{
    const QByteArray request = buildPageRequest(QByteArray::fromRawData(page, kFirmwarePageSize), pageNumber);
    return exchangeChecked(channel, request, expectedPageReply(pageNumber));
}

void UpdateThread::finishUpdate(DeviceChannel &channel)
{
    emit signalFinishing();
    // Sent twice; the instrument's answers are not needed, and the second,
    // the same as the first, is taken as it comes.
    for (int i = 0; i < 2; ++i) {
        QByteArray reply;
        channel.transact(buildFinishRequest(), reply, true, kExchangeTimeoutMs);
    }
}

void UpdateThread::fail(const LinkFailure &failure)
{
    m_failure = failure;
    emit signalShowErrorMessage(failure.briefText());
    emit signalFailed(QString(), failure);
}

void UpdateThread::run()
{
    m_failure = LinkFailure();
    DeviceChannel channel;
    const QByteArray image = m_info.image();
    const int size = image.size();
    // A package without image bytes would erase the meter and leave it empty.
    if (image.isEmpty()) {
        fail(LinkFailure::of(LinkFailure::Kind::Other, tr("固件更新失败,文件中没有固件数据!")));
        return;
    }

    if (!channel.open(m_link)) {
        fail(channel.openFailure().saying(tr("固件更新失败,") + channel.errorText()));
        return;
    }

    QByteArray identification;
    if (!identify(channel, identification)) {
        if (!identify(channel, identification)) {
            fail(LinkFailure::of(LinkFailure::Kind::Other, tr("固件更新失败,获取设备ID失败!")));
            finishUpdate(channel);
            return;
        }
        // The first identification may still be answered: that answer must
        // not pass for the answer to the erase request.
        channel.discardLateAnswer(true);
    }
    if (!identificationMatchesModel(decodeGb2312(identification), m_info.model())) {
        fail(LinkFailure::of(LinkFailure::Kind::WrongModel,
            tr("固件更新失败,BIN文件与设备型号不一致!") + QLatin1Char('\n')
                + modelMismatchDetail(identification, m_info.model())));
        finishUpdate(channel);
        return;
    }

    if (!erase(channel, quint32(size))) {
        fail(LinkFailure::of(LinkFailure::Kind::Other, tr("固件更新失败,擦除设备内存失败!")));
        return;
    }
    emit signalUpdateProgress(0);

    // The tail of the last page is sent as erased flash (0xFF), never as
    // whatever happens to follow the image in memory.
    QByteArray lastPage;
    for (int k = 0; qint64(k) * kFirmwarePageSize < size; ++k) {
        const int offset = k * kFirmwarePageSize;
        const char *page = image.constData() + offset;
        if (size - offset < kFirmwarePageSize) {
            lastPage = image.mid(offset);
            lastPage.append(QByteArray(kFirmwarePageSize - lastPage.size(), char(0xFF)));
            page = lastPage.constData();
        }
        if (!sendPage(channel, page, k % 256)) {
            fail(LinkFailure::of(LinkFailure::Kind::Other, tr("固件更新失败,发送文件数据失败!")));
            return;
        }
        emit signalUpdateProgress(int(qint64(102400) * k / size));
    }

    finishUpdate(channel);
    emit signalUpdateSucceed();
}
