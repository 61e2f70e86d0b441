// The item page's tools around a batch write: the filter's status, the
// comparison with a file and the restore of a backup; both end in the
// batch write's review (ItemBatchWrite).
#include "items/itempage.h"

#include "base/backgroundjob.h"
#include "base/elidedlabel.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/messageboxes.h"
#include "base/settings.h"
#include "items/comparedialog.h"
#include "items/configtree.h"
#include "items/itembackup.h"
#include "items/itembatchwrite.h"
#include "items/itemcomparison.h"
#include "items/itemfilteredit.h"
#include "items/itemsession.h"
#include "items/writereview.h"
#include "link/commsettings.h"
#include "link/devicechannel.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>

void ItemPage::setUpTools()
{
    m_compareAction->setObjectName(QStringLiteral("actionCompareFile"));
    m_compareAction->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_D));
    m_restoreAction->setObjectName(QStringLiteral("actionRestoreBackup"));
    connect(m_compareAction, &QAction::triggered, this, &ItemPage::compareWithFile);
    connect(m_restoreAction, &QAction::triggered, this, &ItemPage::restoreBackup);
    connect(m_filter, &ItemFilterEdit::signalShownChanged, this, &ItemPage::showShownCount);
    retranslate();
}

void ItemPage::retranslate()
{
    m_compareAction->setText(tr("与文件比较…"));
    m_restoreAction->setText(tr("恢复备份…"));
    m_filter->retranslate();
    if (m_writeCounts)
        m_writeSummary->setText(ItemBatchWrite::summaryText(*m_writeCounts));
}

void ItemPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void ItemPage::placeActions(QMenu *menu, QAction *before)
{
    menu->insertAction(before, m_compareAction);
    menu->insertAction(before, m_restoreAction);
}

void ItemPage::showShownCount()
{
    // A refresh says which item it waits for; the count follows when it ends.
    if (m_refreshThread.isRunning())
        return;
    if (m_filter->isFiltering()) {
        const int total = m_filter->totalCount();
        m_shownMessage = tr("显示 %1 / %2 项").arg(total - m_filter->hiddenCount()).arg(total);
        m_statusBar->showMessage(m_shownMessage);
    } else if (!m_shownMessage.isEmpty()) {
        if (m_statusBar->currentMessage() == m_shownMessage)
            m_statusBar->clearMessage();
        m_shownMessage.clear();
    }
}

bool ItemPage::readKnownValues(const LinkSettings &link, const QString &title)
{
    const QString meter = link.meterKey();
    LinkFailure failure;
    bool stopped = false;
    BackgroundJob job(window());
    job.progress().setWindowTitle(title);
    job.progress().setLabelText(tr("正在读取设备中的值......"));
    job.progress().setCancelButtonText(tr("取消"));
    job.run([&] {
        DeviceChannel channel;
        if (!channel.open(link)) {
            failure = channel.openFailure();
            return;
        }
        channel.setStopFlag(&job.stopFlag());
        const ItemListResult list = ItemSession(channel).readList(
            [&](const ItemRecord &record) {
                job.post([this, meter, record] { m_knownValues.noteRead(meter, record); });
            },
            &job.stopFlag());
        failure = list.failure;
        stopped = list.stopped;
    });
    // Closing the progress at the end counts as Cancel too: the list says
    // whether it was stopped.
    if (stopped) {
        m_statusBar->showMessage(tr("已取消写入配置"), kResultMessageMs);
        return false;
    }
    if (failure.failed()) {
        showErrorBox(title, failure.saying(tr("读取设备中的值失败,未写入任何配置项")).text(), window()->windowIcon());
        return false;
    }
    return true;
}

void ItemPage::compareWithFile()
{
    if (m_operationRunning)
        return;
    const QString title = tr("与文件比较");
    const QString path = askOpenFileName(window(), title, kItemFiles, tr("Files (*.csv)"));
    if (path.isEmpty())
        return;
    // The whole file first: one that does not parse shows nothing.
    const ItemImport file = ::importItems(path, IdentificationValues::Keep);
    if (!file.error.isEmpty()) {
        showErrorBox(title, file.error, window()->windowIcon());
        return;
    }
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    const LinkSettings link = storedLinkSettings();
    if (m_knownValues.isEmpty() || m_knownValues.connection() != link.meterKey()) {
        // Nothing known of this meter yet: a refresh first, as F5 does.
        QEventLoop loop;
        connect(&m_refreshThread, &QThread::finished, &loop, &QEventLoop::quit);
        refresh();
        if (m_refreshThread.isRunning())
            loop.exec();
        // A short list can be read before the wait begins: its rows (or its
        // failure) are still queued for this thread then.
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        // A refresh that failed has said why.
        if (m_knownValues.isEmpty() || m_knownValues.connection() != link.meterKey())
            return;
    }
    const ItemComparison comparison(m_knownValues.records(), file.records);
    if (comparison.modelsDiffer()
        && !askQuestion(
            tr("文件中的型号为“%1”,设备的型号为“%2”。仍要比较吗?").arg(comparison.fileModel(), comparison.meterModel()),
            tr("比较"), tr("取消"), window()))
        return;
    CompareDialog dialog(comparison, link.targetText(), window());
    if (dialog.exec() != CompareDialog::WriteDiffering)
        return;
    QVector<ItemWriteRequest> requests;
    for (const ItemRecord &record : comparison.differingFileRecords())
        requests << ItemWriteRequest { record.index, record.fields.value(0), record.fields.value(1) };
    ItemBatchWrite(*this).runReviewed(link, buildReviewRows(requests, m_knownValues));
}

void ItemPage::restoreBackup()
{
    if (m_operationRunning)
        return;
    const QString title = tr("恢复备份");
    const QString newest = ItemBackup::newest(QDir::currentPath());
    const QString path = askOpenFileNameIn(window(), title,
        newest.isEmpty() ? QDir::current().filePath(QLatin1String(ItemBackup::kFolder)) : newest, tr("Files (*.csv)"));
    if (path.isEmpty())
        return;
    const ItemImport backup = ::importItems(path);
    if (!backup.error.isEmpty()) {
        showErrorBox(title, backup.error, window()->windowIcon());
        return;
    }
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    // Loaded as an import loads it, then always reviewed against what the
    // meter holds now.
    showFileRecords(backup.records);
    m_statusBar->showMessage(tr("导入配置成功"), kResultMessageMs);
    const LinkSettings link = storedLinkSettings();
    if ((m_knownValues.isEmpty() || m_knownValues.connection() != link.meterKey()) && !readKnownValues(link, title))
        return;
    ItemBatchWrite(*this).runReviewed(link, ItemBackup::restoreRows(backup.records, m_knownValues));
}
