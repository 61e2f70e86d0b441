#include "items/refreshthread.h"

#include "items/itemframes.h"
#include "items/itemsession.h"
#include "link/devicechannel.h"
#include "link/linkerrorcontext.h"

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
        emit showErrorMessage(title, withLinkContext(channel.errorText(), channel), image);
        return;
    }
    emit signalClearItems();

    // The read loop is the item session's, shared with the command line.
    const ItemListResult list = ItemSession(channel).readList(
        [this](const ItemRecord &record) { emit signalAddItems(record.index, record.fields); }, &m_stop);
    // A stop ends the run quietly; the items read so far stay.
    if (!list.stopped && !list.error.isEmpty())
        emit showErrorMessage(title, list.error, image);
}
