#include "items/refreshthread.h"

#include "items/itemsession.h"
#include "link/devicechannel.h"
#include "link/linkerrorcontext.h"

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
        [this](const ItemRecord &record) { emit signalAddItems(record.index, record.fields); }, &m_stop,
        // The list is read once more from the start: the rows shown so far may be out of step.
        [this] { emit signalClearItems(); });
    // A stop ends the run quietly; the items read so far stay.
    if (!list.stopped && !list.error.isEmpty())
        emit showErrorMessage(title, list.error, image);
}
