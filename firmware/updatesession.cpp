#include "firmware/updatesession.h"

#include "firmware/dencryptinfo.h"
#include "firmware/updateframes.h"
#include "link/devicechannel.h"
#include "link/frame.h"

#include <QCoreApplication>

namespace {

QString updateText(const char *text)
{
    return QCoreApplication::translate("UpdateThread", text);
}

LinkFailure failure(const char *text)
{
    return LinkFailure::of(LinkFailure::Kind::Other, updateText(text));
}

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
    const DeviceChannel::Answer reply
        = channel.exchange(request, true, UpdateSession::kExchangeTimeoutMs, ownReplyOnly);
    return isAcceptedUpdateReply(reply.result, reply.bytes, expected);
}

} // namespace

UpdateSession::UpdateSession(DeviceChannel &channel)
    : m_channel(channel)
{
}

LinkFailure UpdateSession::packageFailure(const DEncryptInfo &info)
{
    return info.image().isEmpty() ? failure(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,文件中没有固件数据!"))
                                  : LinkFailure();
}

LinkFailure UpdateSession::update(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const
{
    LinkFailure result = packageFailure(info);
    if (!result.failed() && !m_channel.open(link))
        result = m_channel.openFailure().saying(
            updateText(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,")) + m_channel.errorText());
    if (result.failed()) {
        if (steps.failed)
            steps.failed(result);
        return result;
    }
    return flash(info, steps);
}

LinkFailure UpdateSession::flash(const DEncryptInfo &info, const UpdateSteps &steps) const
{
    const auto fail = [&steps](const LinkFailure &failure) {
        if (steps.failed)
            steps.failed(failure);
        return failure;
    };
    const QByteArray image = info.image();
    const int size = image.size();

    QByteArray identification;
    if (!identify(identification)) {
        if (!identify(identification)) {
            const LinkFailure failed = fail(failure(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,获取设备ID失败!")));
            finish(steps);
            return failed;
        }
        // The first identification may still be answered: that answer must
        // not pass for the answer to the erase request.
        m_channel.discardLateAnswer(true);
    }
    if (!identificationMatchesModel(decodeGb2312(identification), info.model())) {
        const LinkFailure failed = fail(LinkFailure::of(LinkFailure::Kind::WrongModel,
            updateText(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,BIN文件与设备型号不一致!")) + QLatin1Char('\n')
                + modelMismatchDetail(identification, info.model())));
        finish(steps);
        return failed;
    }

    if (!erase(quint32(size)))
        return fail(failure(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,擦除设备内存失败!")));
    if (steps.progress)
        steps.progress(0);

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
        if (!sendPage(page, k % 256))
            return fail(failure(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,发送文件数据失败!")));
        if (steps.progress)
            steps.progress(int(qint64(102400) * k / size));
    }

    finish(steps);
    return LinkFailure();
}

bool UpdateSession::identify(QByteArray &reply) const
{
    const DeviceChannel::Answer answer
        = m_channel.exchange(buildIdentifyRequest(), true, kExchangeTimeoutMs, identificationOnly);
    reply = answer.taken ? answer.bytes : QByteArray();
    return answer.taken;
}

bool UpdateSession::erase(quint32 imageSize) const
{
    return exchangeChecked(m_channel, buildEraseRequest(imageSize), expectedEraseReply());
}

bool UpdateSession::sendPage(const char *page, int pageNumber) const
{
    const QByteArray request = buildPageRequest(QByteArray::fromRawData(page, kFirmwarePageSize), pageNumber);
    return exchangeChecked(m_channel, request, expectedPageReply(pageNumber));
}

void UpdateSession::finish(const UpdateSteps &steps) const
{
    if (steps.finishing)
        steps.finishing();
    // Sent twice; the instrument's answers are not needed, and the second,
    // the same as the first, is taken as it comes.
    for (int i = 0; i < 2; ++i) {
        QByteArray reply;
        m_channel.transact(buildFinishRequest(), reply, true, kExchangeTimeoutMs);
    }
}
