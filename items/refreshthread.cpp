#include "items/refreshthread.h"

#include "items/itemsession.h"
#include "link/devicechannel.h"

RefreshThread::RefreshThread(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<LinkFailure>();
}

void RefreshThread::start(Priority priority)
{
    if (isRunning())
        return;
    m_stop = false;
    QThread::start(priority);
}

void RefreshThread::fail(const QString &title, const LinkFailure &failure)
{
    emit showErrorMessage(title, failure.briefText(), QStringLiteral(":/image/refresh.png"));
    emit signalFailed(title, failure);
}

void RefreshThread::run()
{
    const QString title = tr("刷新");

    DeviceChannel channel;
    channel.setStopFlag(&m_stop);
    if (!channel.open(m_link)) {
        fail(title, channel.openFailure());
        return;
    }
    // The list shown goes with the meter's first answer: a meter that never
    // answers, or a stop before it does, leaves it as it was.
    bool cleared = false;
    const auto clearOnce = [this, &cleared] {
        if (!cleared)
            emit signalClearItems();
        cleared = true;
    };

    // The read loop is the item session's, shared with the command line.
    const ItemListResult list = ItemSession(channel).readList(
        [this, &clearOnce](const ItemRecord &record) {
            clearOnce();
            emit signalAddItems(record.index, record.fields);
        },
        &m_stop,
        // The list is read once more from the start: the rows shown so far may be out of step.
        [this] { emit signalClearItems(); });
    // A stop ends the run quietly; the items read so far stay.
    if (!list.stopped && list.failure.failed())
        fail(title, list.failure);
    else if (!list.stopped)
        clearOnce(); // an empty list
}
