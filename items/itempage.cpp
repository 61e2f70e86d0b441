#include "items/itempage.h"

#include "base/backgroundjob.h"
#include "base/elidedlabel.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/folderopener.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "items/configtree.h"
#include "items/identificationrows.h"
#include "items/itembatchwrite.h"
#include "items/itemfilteredit.h"
#include "items/itemsession.h"
#include "items/modifydialog.h"
#include "items/writereview.h"
#include "link/commsettings.h"
#include "link/devicechannel.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QBrush kRefusedBrush(QColor(255, 205, 210));
const QBrush kFromFileBrush(QColor(255, 243, 196));

QVector<ItemRowText> rowTexts(const ConfigTree *tree)
{
    QVector<ItemRowText> rows;
    rows.reserve(tree->topLevelItemCount());
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = tree->topLevelItem(i);
        rows.append({ row->data(0, Qt::UserRole).toInt(), row->text(0), row->text(1) });
    }
    return rows;
}

} // namespace

ItemPage::ItemPage(QStatusBar *statusBar, QWidget *parent)
    : QWidget(parent)
    , m_statusBar(statusBar)
    , m_tree(new ConfigTree(this))
    , m_rowFilter(loadSkipFile(QStringLiteral("SkipItems")))
    , m_writeSummary(new ElidedLabel(this))
    , m_filter(new ItemFilterEdit(m_tree, this, this))
    , m_compareAction(new QAction(this))
    , m_restoreAction(new QAction(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);
    m_writeSummary->setObjectName(QStringLiteral("writeSummary"));
    setUpRefresh();
    setUpKeyboard();
    setUpTools();
}

ItemPage::~ItemPage()
{
    // The tree is taken down after the window's status bar, and empties its
    // model while it goes: neither the filter nor the page hears of that.
    disconnect(m_tree->model(), nullptr, m_filter, nullptr);
    disconnect(m_filter, nullptr, this, nullptr);
    // The worker must not outlive the page it reports to.
    stopRefresh();
}

void ItemPage::setUpRefresh()
{
    connect(&m_refreshThread, &RefreshThread::signalClearItems, this, &ItemPage::clearItems);
    connect(&m_refreshThread, &RefreshThread::signalAddItems, this, &ItemPage::refreshedItem);
    connect(
        &m_refreshThread, &RefreshThread::signalFailed, this, [this](const QString &title, const LinkFailure &failure) {
            showErrorBox(title, failure.text(), QIcon(QStringLiteral(":/image/refresh.png")));
        });
    connect(&m_refreshThread, &QThread::finished, m_tree, &ConfigTree::showHeldRows);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &ItemPage::itemDoubleClicked);
    connect(&m_refreshThread, &QThread::started, this, &ItemPage::refreshStarted);
    connect(&m_refreshThread, &RefreshThread::signalAddItems, this, &ItemPage::refreshProgress);
    connect(&m_refreshThread, &QThread::finished, this, &ItemPage::refreshFinished);
}

void ItemPage::setUpKeyboard()
{
    // Only while a refresh runs, so that Escape still clears the filter otherwise.
    m_stopRefreshKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopRefreshKey->setContext(Qt::WindowShortcut);
    m_stopRefreshKey->setEnabled(false);
    connect(m_stopRefreshKey, &QShortcut::activated, this, [this] { m_refreshThread.requestStop(); });
    m_waitCountdown.setInterval(250);
    connect(&m_waitCountdown, &QTimer::timeout, this, &ItemPage::showWaitCountdown);
    // Enter and F2 on a row do what a double click does.
    for (const int key : { int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_F2) }) {
        auto *shortcut = new QShortcut(QKeySequence(key), m_tree);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &ItemPage::editCurrentItem);
    }
}

ItemRecord ItemPage::recordOf(const QTreeWidgetItem *row)
{
    return row->data(0, kRecordRole).value<ItemRecord>();
}

void ItemPage::showErrorBox(const QString &title, const QString &text, const QIcon &icon)
{
    QMessageBox box(
        QMessageBox::Critical, title, text, QMessageBox::Ok, window(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowIcon(icon);
    setOkButtonText(box, tr("确定"));
    // The status bar has room for the first line; the box shows the rest.
    m_statusBar->showMessage(text.section(QLatin1Char('\n'), 0, 0), 5000);
    box.exec();
}

void ItemPage::refresh()
{
    // A second press is 停止: the run ends between exchanges, the rows read stay.
    if (m_refreshThread.isRunning()) {
        m_refreshThread.requestStop();
        return;
    }
    // The connection of this refresh: the rows it reads are that meter's.
    const LinkSettings link = storedLinkSettings();
    m_refreshThread.setLinkSettings(link);
    m_refreshConnection = link.meterKey();
    m_refreshThread.start(QThread::InheritPriority);
}

void ItemPage::stopRefresh()
{
    // A slow meter would hold the window for the rest of the list.
    m_refreshThread.requestStop();
    m_refreshThread.wait();
}

void ItemPage::refreshStarted()
{
    m_tree->setCursor(Qt::BusyCursor);
    m_stopRefreshKey->setEnabled(true);
    m_waitCountdown.start();
    refreshProgress(-1);
}

void ItemPage::refreshProgress(int index)
{
    // A silent meter keeps the next item waiting for seconds: say which.
    m_itemAsked.start();
    m_readingMessage = tr("正在读取第 %1 项…").arg(index + 2);
    m_refreshMessage = m_readingMessage;
    m_statusBar->showMessage(m_refreshMessage);
}

void ItemPage::showWaitCountdown()
{
    const qint64 waited = m_itemAsked.elapsed();
    if (waited < 1000)
        return;
    // The first ask and the one retry of an item are the longest it can take.
    const qint64 left = ItemSession::kFirstReadTimeoutMs + ItemSession::kRetryReadTimeoutMs - waited;
    m_refreshMessage
        = m_readingMessage + QLatin1Char(' ') + tr("等待设备应答…(%1 s)").arg(qMax<qint64>(0, (left + 999) / 1000));
    m_statusBar->showMessage(m_refreshMessage);
}

void ItemPage::refreshFinished()
{
    m_tree->unsetCursor();
    m_stopRefreshKey->setEnabled(false);
    m_waitCountdown.stop();
    if (m_statusBar->currentMessage() == m_refreshMessage)
        m_statusBar->clearMessage();
    m_refreshMessage.clear();
    showShownCount();
}

void ItemPage::editCurrentItem()
{
    if (QTreeWidgetItem *row = m_tree->currentItem())
        itemDoubleClicked(row, m_tree->currentColumn());
}

QString ItemPage::askItemsExportFile()
{
    // The model row names the meter the file belongs to.
    QString model;
    for (int i = 0; i < m_tree->topLevelItemCount() && model.isEmpty(); ++i) {
        const ItemRecord record = recordOf(m_tree->topLevelItem(i));
        if (isModelRowName(record.fields.value(0).trimmed()))
            model = record.fields.value(1).trimmed();
    }
    return askSaveFileName(window(), tr("导出配置"), kItemFiles, itemsFileName(model, QDateTime::currentDateTime()),
        tr("Files (*.csv)"), QStringLiteral("csv"));
}

void ItemPage::exportItems()
{
    const QString path = askItemsExportFile();
    if (!path.isEmpty())
        exportItemsTo(path);
}

void ItemPage::exportItemsTo(const QString &path)
{
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    m_statusBar->showMessage(tr("正在导出配置......"));
    const QVector<ItemRowText> rows = rowTexts(m_tree);
    const QString error = ::exportItems(path, rows);
    if (!error.isEmpty()) {
        showErrorBox(tr("导出配置"), error, window()->windowIcon());
        return;
    }
    SavedFileNotice::announce(path, tr("导出配置成功"));
    // The file format is kept as it is, but rows it cannot carry back are
    // named rather than lost unnoticed on the next import.
    const QStringList lost = itemsLostOnImport(rows);
    if (!lost.isEmpty()) {
        showOkBox(QMessageBox::Warning, tr("导出配置"),
            tr("以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:\n%1").arg(lost.join(QLatin1Char('\n'))),
            window());
    }
}

void ItemPage::importItems()
{
    const QString path = askOpenFileName(window(), tr("导入配置"), kItemFiles, tr("Files (*.csv)"));
    if (!path.isEmpty())
        importItemsFrom(path);
}

void ItemPage::importItemsFrom(const QString &path)
{
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    // The whole file is checked before any row is taken over, so a bad line
    // leaves an empty tree and no half-applied hiding state.
    const ItemImport import = ::importItems(path);
    if (!import.opened) {
        showErrorBox(tr("导入配置"), import.error, window()->windowIcon());
        return;
    }
    m_statusBar->showMessage(tr("正在导入配置......"));
    m_tree->clear();
    if (!import.error.isEmpty()) {
        showErrorBox(tr("导入配置"), import.error, window()->windowIcon());
        return;
    }
    showFileRecords(import.records);
    m_statusBar->showMessage(tr("导入配置成功"), kResultMessageMs);
}

void ItemPage::showFileRecords(const QVector<ItemRecord> &records)
{
    m_tree->clear();
    for (const ItemRecord &record : records)
        addItems(record.index, record.fields);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tree->topLevelItem(i);
        const ItemRecord record = recordOf(row);
        // A file never names the meter: rows 01/02 show what the meter said,
        // their records stay without a value so no batch sends them.
        if (KnownMeterValues::isIdentificationIndex(record.index)) {
            if (m_knownValues.hasValue(record.index))
                row->setText(1, QLatin1String(": ") + m_knownValues.value(record.index).trimmed());
        } else if (!row->text(1).isEmpty()) {
            row->setBackground(1, kFromFileBrush);
            row->setToolTip(1, tr("来自文件, 未写入"));
        }
    }
}

QLabel *ItemPage::writeSummaryLabel() const
{
    return m_writeSummary;
}

void ItemPage::showWriteSummary(const BatchWriteCounts &counts)
{
    m_writeCounts = counts;
    m_writeSummary->setText(ItemBatchWrite::summaryText(counts));
}

void ItemPage::clearWriteSummary()
{
    m_writeCounts.reset();
    m_writeSummary->clear();
}

void ItemPage::writeItems()
{
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    ItemBatchWrite(*this).run(storedLinkSettings(), readReviewBeforeWrite(*appSettings()));
}

void ItemPage::syncTime()
{
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    const LinkSettings link = storedLinkSettings();
    const QDateTime now = QDateTime::currentDateTime();
    LinkFailure openFailure;
    ClockResult clock;
    BackgroundJob job(window());
    job.progress().setWindowTitle(tr("同步时间"));
    job.progress().setCancelButton(nullptr);
    job.run([&] {
        DeviceChannel channel;
        if (channel.open(link))
            clock = ItemSession(channel).setClock(now);
        else
            openFailure = channel.openFailure();
    });
    if (openFailure.failed()) {
        showErrorBox(tr("同步时间"), openFailure.text(), window()->windowIcon());
        return;
    }
    appendJournal(
        link, -1, QStringLiteral("clock"), QString(), ClockResult::timeText(now), clock.answer, clock.outcomeWord());
    if (clock.outcome == WriteOutcome::Unknown) {
        showErrorBox(tr("同步时间"), withOutcomeLine(clock.failure.text(), clock.outcome), window()->windowIcon());
        return;
    }
    if (clock.acknowledged())
        QMessageBox::information(window(), tr("同步时间"), tr("同步时间成功"));
    else
        showErrorBox(tr("同步时间"), tr("同步时间失败"), window()->windowIcon());
}

void ItemPage::clearItems()
{
    m_tree->clear();
}

void ItemPage::addItems(int index, const QStringList &list)
{
    const ItemRecord record { index, list };
    if (!isSkippedItem(record))
        addItemRow(record);
}

void ItemPage::itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    if (!item || m_operationRunning)
        return;
    QString newValue;
    const ItemEdit edit = editItem(item->text(0), item->text(1), newValue);
    // A command goes out as the item alone, a value as item and value.
    if (edit != ItemEdit::Cancelled)
        writeEditedItem(item, newValue, edit == ItemEdit::CommandConfirmed ? 1 : 2);
}

void ItemPage::writeEditedItem(QTreeWidgetItem *row, const QString &value, int count)
{
    if (!beginOperation())
        return;
    const auto done = qScopeGuard([this] { endOperation(); });
    const LinkSettings link = storedLinkSettings();
    const ItemRecord record = recordOf(row);
    m_statusBar->showMessage(tr("正在写入配置......"));
    LinkFailure openFailure;
    ItemWriteResult result;
    BackgroundJob job(window());
    job.progress().setWindowTitle(tr("写入配置"));
    job.progress().setLabelText(tr("正在写入配置......"));
    // A single write is one exchange: it ends by itself.
    job.progress().setCancelButton(nullptr);
    job.run([&] {
        DeviceChannel channel;
        if (channel.open(link))
            result = ItemSession(channel).writeItem(record.index, record.fields.value(0).trimmed(), value, count);
        else
            openFailure = channel.openFailure().saying(tr("写入错误,连接设备失败"));
    });
    if (openFailure.failed()) {
        showErrorBox(tr("写入配置"), openFailure.text(), window()->windowIcon());
        return;
    }
    recordWrite(row, value, result, count, link);
    if (!showWriteResult(row, result, withOutcomeLine(result.failure.text(), result.outcome), count))
        showErrorBox(tr("写入配置"), tr("写入配置失败: %1").arg(value), window()->windowIcon());
}

void ItemPage::addItemRow(const ItemRecord &record)
{
    const ItemRowText texts = itemRowText(m_tree->topLevelItemCount() + 1, record);
    auto *row = new QTreeWidgetItem(QStringList { texts.column0, texts.column1 });
    row->setData(0, Qt::UserRole, record.index);
    row->setData(0, kRecordRole, QVariant::fromValue(record));
    // Rows are numbered as shown; writes and files use the meter's own index.
    const QString tip = tr("写入和导出使用配置项序号%1").arg(record.index);
    row->setToolTip(0, tip);
    row->setToolTip(1, tip);
    m_tree->addTopLevelItem(row);
}

bool ItemPage::isSkippedItem(const ItemRecord &record)
{
    ItemRecord released;
    const bool skipped = m_rowFilter.isSkipped(record, &released);
    if (!released.fields.isEmpty())
        addItemRow(released);
    return skipped;
}

ItemEdit ItemPage::editItem(const QString &name, const QString &value, QString &newValue)
{
    newValue.clear();
    const bool hasValue = !value.isEmpty();
    static const QRegularExpression kRowNumber(QStringLiteral("^\\d+\\."));
    QString rowNumber = kRowNumber.match(name).captured();
    rowNumber.chop(1);
    QString itemName = name;
    itemName.remove(kRowNumber);
    QString itemValue = value;
    if (itemValue.startsWith(QLatin1Char(':')))
        itemValue.remove(0, 1);
    itemName = itemName.trimmed();
    itemValue = itemValue.trimmed();

    if (!hasValue) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral(" "), itemName, QMessageBox::Ok | QMessageBox::Cancel,
            window(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box.setWindowIcon(window()->windowIcon());
        box.button(QMessageBox::Ok)->setText(tr("确定"));
        box.button(QMessageBox::Cancel)->setText(tr("取消"));
        // A command runs as soon as it is sent (a factory reset cannot be
        // taken back): say which row it is, and let Enter cancel.
        box.setInformativeText(tr("第%1行是命令,按“确定”立即发送给设备执行。").arg(rowNumber));
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? ItemEdit::CommandConfirmed : ItemEdit::Cancelled;
    }

    ModifyDialog dialog(itemName, itemValue, window());
    if (dialog.exec() != QDialog::Accepted)
        return ItemEdit::Cancelled;
    newValue = dialog.value().trimmed();
    // Enter on the value as shown is no edit: nothing to write or journal.
    if (newValue == itemValue) {
        newValue.clear();
        return ItemEdit::Cancelled;
    }
    return ItemEdit::NewValue;
}

bool ItemPage::showWriteResult(QTreeWidgetItem *row, const ItemWriteResult &result, const QString &error, int count)
{
    // Without a confirmed answer the row keeps the value it showed.
    if (!result.confirmed()) {
        showErrorBox(tr("提交"), error, window()->windowIcon());
        return false;
    }
    ItemRecord record = recordOf(row);
    if (count == 2) {
        row->setText(1, QLatin1String(": ") + result.answer.at(1));
        record.fields = result.answer;
        row->setData(0, kRecordRole, QVariant::fromValue(record));
    }
    // The meter kept another value: say so on the row until the next answer.
    const QString indexTip = tr("写入和导出使用配置项序号%1").arg(record.index);
    row->setBackground(1, result.matches() ? QBrush() : kRefusedBrush);
    row->setToolTip(1, result.matches() ? indexTip : tr("设备未接受该值"));
    if (result.accepted)
        m_statusBar->showMessage(tr("写入配置成功"), kResultMessageMs);
    else
        m_statusBar->showMessage(tr("写入配置失败,该项不支持修改"), kResultMessageMs);
    return true;
}

bool ItemPage::beginOperation()
{
    if (m_operationRunning)
        return false;
    m_operationRunning = true;
    // Waits inside an exchange run the event loop; nothing may change the tree
    // or reach the meter meanwhile.
    m_disabledActions.clear();
    for (QAction *action : qAsConst(m_guardedActions)) {
        if (action->isEnabled()) {
            action->setEnabled(false);
            m_disabledActions << action;
        }
    }
    return true;
}

void ItemPage::endOperation()
{
    if (!m_journalWarning.isEmpty()) {
        const QString warning = m_journalWarning;
        m_journalWarning.clear();
        showOkBox(QMessageBox::Warning, tr("写入记录"), warning, window());
    }
    // Input that queued up while the window was blocked reaches the disabled
    // actions now and is dropped, instead of running after the operation.
    QCoreApplication::processEvents();
    for (QAction *action : qAsConst(m_disabledActions))
        action->setEnabled(true);
    m_disabledActions.clear();
    m_operationRunning = false;
}

void ItemPage::refreshedItem(int index, const QStringList &list)
{
    m_knownValues.noteRead(m_refreshConnection, { index, list });
    addItems(index, list);
}

QUrl ItemPage::journalFolderUrl()
{
    return QUrl::fromLocalFile(QDir::currentPath());
}

void ItemPage::openJournalFolder()
{
    openFolder(journalFolderUrl().toLocalFile(), window());
}

void ItemPage::recordWrite(
    QTreeWidgetItem *row, const QString &value, const ItemWriteResult &result, int count, const LinkSettings &link)
{
    const ItemRecord record = recordOf(row);
    const QString oldValue = m_knownValues.value(record.index);
    if (result.confirmed())
        m_knownValues.noteWrite(link.meterKey(), record.index, result.answer);
    const QString answered = count == 2 ? result.answer.value(1) : QString();
    appendJournal(link, record.index, record.fields.value(0).trimmed(), oldValue, value, answered, result.outcomeWord(),
        m_tree->indexOfTopLevelItem(row) + 1);
}

void ItemPage::appendJournal(const LinkSettings &link, int index, const QString &name, const QString &oldValue,
    const QString &requested, const QString &answered, const QString &result, int row)
{
    JournalEntry entry = Journal::entryNow(
        link, m_knownValues.model(), m_knownValues.deviceName(), index, name, oldValue, requested, answered, result);
    entry.row = row;
    entry.backup = index >= 0 ? m_batchBackup : QString();
    // A journal that cannot be written never holds up the meter's work; the
    // user hears of it once.
    if (!m_journal.append(entry) && !m_journalWarned) {
        m_journalWarned = true;
        m_journalWarning = m_journal.errorText();
    }
}
