#include "items/refreshthread.h"

#include "items/itemframes.h"
#include "link/devicechannel.h"

namespace {

constexpr int FirstTimeoutMs = 3000;
constexpr int RetryTimeoutMs = 10000;

} // namespace

RefreshThread::RefreshThread(QObject *parent)
    : QThread(parent)
{
}

void RefreshThread::start(Priority priority)
{
    if (isRunning())
        return;
    m_stop = false;
    QThread::start(priority);
}

int RefreshThread::requestItem(DeviceChannel &channel, int index, QByteArray &buffer, int timeoutMs)
{
    buffer.clear();
    return channel.transact(buildItemReadFrame(channel.deviceAddress(), index), buffer, false, timeoutMs);
}

bool RefreshThread::checkResponse(
    int result, DeviceChannel &channel, int index, const QString &title, const QString &image, QByteArray &buffer)
{
    if (result == DeviceChannel::Stopped || m_stop)
        return true;
    const QString error = linkErrorText(result, buffer);
    if (!error.isEmpty()) {
        if (index == -1) {
            emit showErrorMessage(title, error, image);
            return true;
        }
        const int again = requestItem(channel, index, buffer, RetryTimeoutMs);
        // An answer that missed its time-out may still follow the repeated one.
        if (result == LinkReceiveTimeout && again == LinkOk && linkErrorText(again, buffer).isEmpty())
            channel.discardLateAnswer(false);
        return checkResponse(again, channel, -1, title, image, buffer);
    }
    if (buffer.size() > 4 && quint8(buffer.at(0)) == channel.deviceAddress() && buffer.at(1) == 0x03) {
        if (buffer.size() == quint8(buffer.at(2)) + 5)
            return buffer.at(2) == 0;
        // Shown as the instrument's own words: these texts stay untranslated.
        emit showErrorMessage(title, QStringLiteral("数据长度校验错误 : \n%1").arg(hexDump(buffer)), image);
        return true;
    }
    emit showErrorMessage(title, QStringLiteral("地址或命令校验错误: \n%1").arg(hexDump(buffer)), image);
    return true;
}

void RefreshThread::run()
{
    const QString title = tr("刷新");
    const QString image = QStringLiteral(":/image/refresh.png");

    DeviceChannel channel;
    channel.setStopFlag(&m_stop);
    if (!channel.open()) {
        emit showErrorMessage(title, channel.errorText(), image);
        return;
    }
    emit signalClearItems();

    QByteArray buffer;
    QByteArray previous;
    for (int index = 0;; ++index) {
        // The index travels in one byte: past the last one the instrument
        // would be asked for the same items again, forever.
        if (index > LastItemIndex) {
            emit showErrorMessage(title, tr("设备在第%1项后仍未结束配置列表,已停止读取").arg(LastItemIndex + 1), image);
            break;
        }
        const int result = requestItem(channel, index, buffer, FirstTimeoutMs);
        if (checkResponse(result, channel, index, title, image, buffer))
            break;
        // The previous answer once more: most likely a repeated copy of it
        // that came after this request went out, with this item's own answer
        // right behind. Let that one go by and ask again; an instrument whose
        // two items read the same simply says so twice.
        if (buffer == previous) {
            channel.discardLateAnswer(false);
            if (checkResponse(
                    requestItem(channel, index, buffer, FirstTimeoutMs), channel, index, title, image, buffer))
                break;
        }
        previous = buffer;
        const int length = quint8(buffer.at(2));
        emit signalAddItems(index, splitItemText(decodeGb2312(buffer.constData() + 3, length)));
    }
}
