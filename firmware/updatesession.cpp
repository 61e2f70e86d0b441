#include "firmware/updatesession.h"

#include "firmware/dencryptinfo.h"
#include "firmware/updateframes.h"
#include "link/devicechannel.h"
#include "link/frame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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

LinkFailure UpdateSession::open(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const
{
    LinkFailure result = packageFailure(info);
    if (!result.failed() && !m_channel.open(link))
        result = m_channel.openFailure().saying(
            updateText(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,")) + m_channel.errorText());
    if (result.failed() && steps.failed)
        steps.failed(result);
    return result;
}

LinkFailure UpdateSession::update(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const
{
    const LinkFailure opened = open(link, info, steps);
    return opened.failed() ? opened : flash(info, steps);
}

LinkFailure UpdateSession::checkModel(
    const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const
{
    LinkFailure result = open(link, info, steps);
    if (result.failed())
        return result;
    result = identifyModel(info, steps);
    if (!result.failed())
        finish(steps);
    return result;
}

LinkFailure UpdateSession::identifyModel(const DEncryptInfo &info, const UpdateSteps &steps) const
{
    const auto fail = [this, &steps](const LinkFailure &failure) {
        if (steps.failed)
            steps.failed(failure);
        finish(steps);
        return failure;
    };
    QByteArray identification;
    if (!identify(identification)) {
        if (!identify(identification))
            return fail(failure(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,获取设备ID失败!")));
        // The first identification may still be answered: that answer must
        // not pass for the answer to the erase request.
        m_channel.discardLateAnswer(true);
    }
    if (!identificationMatchesModel(decodeGb2312(identification), info.model()))
        return fail(LinkFailure::of(LinkFailure::Kind::WrongModel,
            updateText(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,BIN文件与设备型号不一致!")) + QLatin1Char('\n')
                + modelMismatchDetail(identification, info.model())));
    return LinkFailure();
}

LinkFailure UpdateSession::flash(const DEncryptInfo &info, const UpdateSteps &steps) const
{
    const auto fail = [&steps](const LinkFailure &failure) {
        if (steps.failed)
            steps.failed(failure);
        return failure;
    };
    const LinkFailure identified = identifyModel(info, steps);
    if (identified.failed())
        return identified;

    const QByteArray image = info.image();
    const int size = image.size();
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
        // The meter is erased now: whatever ends the update here leaves it
        // without a whole image.
        if (!sendPage(page, k % 256))
            return fail(LinkFailure::of(LinkFailure::Kind::ImageIncomplete,
                updateText(QT_TRANSLATE_NOOP("UpdateThread", "固件更新失败,发送文件数据失败!"))));
        if (steps.progress)
            steps.progress(int(qint64(102400) * k / size));
    }

    finish(steps);
    return LinkFailure();
}

bool UpdateSession::answersAfterUpdate(const QString &model) const
{
    // Only the meter naming its model again counts: a late answer to a
    // finish request is let go.
    const auto namesModel = [&model](const QByteArray &answer, bool) {
        return isWellFormedReply(answer) && identificationMatchesModel(decodeGb2312(answer), model)
            ? DeviceChannel::Verdict::Take
            : DeviceChannel::Verdict::LetGoOther;
    };
    for (int attempt = 0; attempt < kAfterUpdateAttempts; ++attempt) {
        QElapsedTimer waited;
        waited.start();
        const DeviceChannel::Answer answer
            = m_channel.exchange(buildIdentifyRequest(), true, kAfterUpdateIdentifyMs, namesModel);
        finish(UpdateSteps(), kAfterUpdateFinishMs);
        if (answer.taken)
            return true;
        // A port that refuses at once (the meter's socket still down) must
        // not use up the attempts before the meter is back.
        const qint64 rest = kAfterUpdateIdentifyMs - waited.elapsed();
        if (rest > 0 && attempt + 1 < kAfterUpdateAttempts)
            QThread::msleep(quint32(rest));
    }
    return false;
}

bool UpdateSession::identify(QByteArray &reply, int timeoutMs) const
{
    const DeviceChannel::Answer answer
        = m_channel.exchange(buildIdentifyRequest(), true, timeoutMs, identificationOnly);
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

void UpdateSession::finish(const UpdateSteps &steps, int timeoutMs) const
{
    if (steps.finishing)
        steps.finishing();
    // Sent twice; the instrument's answers are not needed, and the second,
    // the same as the first, is taken as it comes.
    for (int i = 0; i < 2; ++i) {
        QByteArray reply;
        m_channel.transact(buildFinishRequest(), reply, true, timeoutMs);
    }
}
