// The main window's item operations: tree rows, skip rules, edit, write,
// CSV import/export and the clock.
#include "app/mainwindow.h"

#include "base/messageboxes.h"
#include "base/settings.h"
#include "items/configtree.h"
#include "items/itemcsv.h"
#include "items/itemframes.h"
#include "items/itemsession.h"
#include "items/modifydialog.h"
#include "items/skipitems.h"
#include "items/writereviewdialog.h"
#include "link/commsettings.h"
#include "link/devicechannel.h"
#include "ui_mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QProgressDialog>
#include <QThread>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStatusBar>
#include <QUrl>

namespace {

constexpr int kResultMessageMs = 5000;

const QBrush kRefusedBrush(QColor(255, 205, 210));

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

// Runs a batch on a worker thread with a channel of its own, so the window
// paints and hears Cancel while an exchange waits; every step is handed back
// to the window's thread in order. Empty when the channel opened, otherwise
// openFailure with the target and the system's reason.
QString runBatchInBackground(const LinkSettings &link, const QVector<ItemWriteRequest> &requests,
    const std::function<void(int)> &onStart, const std::function<bool(int, const ItemWriteResult &)> &onResult,
    const std::atomic_bool *stop, const QString &openFailure)
{
    QObject receiver;
    QString openError;
    QEventLoop loop;
    QScopedPointer<QThread> worker(QThread::create([&] {
        DeviceChannel channel;
        if (!channel.open(link)) {
            openError = channel.openFailure().saying(openFailure).text();
            return;
        }
        ItemSession(channel).writeBatch(
            requests,
            [&](int i) {
                QMetaObject::invokeMethod(
                    &receiver, [&onStart, i] { onStart(i); }, Qt::QueuedConnection);
            },
            [&](int i, const ItemWriteResult &result) {
                QMetaObject::invokeMethod(
                    &receiver, [&onResult, i, result] { onResult(i, result); }, Qt::QueuedConnection);
                // The session itself stops at a write that was not confirmed.
                return true;
            },
            stop);
    }));
    QObject::connect(worker.data(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    QCoreApplication::sendPostedEvents(&receiver);
    return openError;
}

} // namespace

void MainWindow::slotExportItems()
{
    const QString path = askItemsExportFile();
    if (!path.isEmpty())
        exportItemsTo(path);
}

void MainWindow::exportItemsTo(const QString &path)
{
    if (!beginItemOperation())
        return;
    const auto done = qScopeGuard([this] { endItemOperation(); });
    statusBar()->showMessage(tr("正在导出配置......"));
    const QVector<ItemRowText> rows = rowTexts(m_tree);
    const QString error = exportItems(path, rows);
    if (!error.isEmpty()) {
        showErrorBox(tr("导出配置"), error, windowIcon());
        return;
    }
    statusBar()->showMessage(tr("导出配置成功"), kResultMessageMs);
    // The file format is kept as it is, but rows it cannot carry back are
    // named rather than lost unnoticed on the next import.
    const QStringList lost = itemsLostOnImport(rows);
    if (!lost.isEmpty()) {
        showOkBox(QMessageBox::Warning, tr("导出配置"),
            tr("以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:\n%1").arg(lost.join(QLatin1Char('\n'))), this);
    }
}

void MainWindow::slotImportItems()
{
    const QString path = askItemsImportFile();
    if (!path.isEmpty())
        importItemsFrom(path);
}

void MainWindow::importItemsFrom(const QString &path)
{
    if (!beginItemOperation())
        return;
    const auto done = qScopeGuard([this] { endItemOperation(); });
    // The whole file is checked before any row is taken over, so a bad line
    // leaves an empty tree and no half-applied hiding state.
    const ItemImport import = importItems(path);
    if (!import.opened) {
        showErrorBox(tr("导入配置"), import.error, windowIcon());
        return;
    }
    statusBar()->showMessage(tr("正在导入配置......"));
    m_tree->clear();
    if (!import.error.isEmpty()) {
        showErrorBox(tr("导入配置"), import.error, windowIcon());
        return;
    }
    for (const ItemRecord &record : import.records)
        slotAddItems(record.index, record.fields);
    statusBar()->showMessage(tr("导入配置成功"), kResultMessageMs);
}

bool MainWindow::openWriteChannel(DeviceChannel &channel, const LinkSettings &link)
{
    if (channel.open(link))
        return true;
    showErrorBox(tr("写入配置"), channel.openFailure().saying(tr("写入错误,连接设备失败")).text(), windowIcon());
    return false;
}

void MainWindow::slotWriteItems()
{
    if (!beginItemOperation())
        return;
    const auto done = qScopeGuard([this] { endItemOperation(); });
    QVector<QTreeWidgetItem *> rows;
    QVector<ItemWriteRequest> requests;
    collectBatch(rows, requests);
    if (readReviewBeforeWrite(*appSettings()) && !reviewBatch(rows, requests))
        return;
    statusBar()->showMessage(tr("正在写入配置......"));
    const LinkSettings link = storedLinkSettings();
    runBatch(link, rows, requests,
        [&](const BatchStart &onStart, const BatchResult &onResult, const std::atomic_bool *stop) {
            const QString openError
                = runBatchInBackground(link, requests, onStart, onResult, stop, tr("写入错误,连接设备失败"));
            if (openError.isEmpty())
                return true;
            showErrorBox(tr("写入配置"), openError, windowIcon());
            return false;
        });
}

void MainWindow::collectBatch(QVector<QTreeWidgetItem *> &rows, QVector<ItemWriteRequest> &requests) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tree->topLevelItem(i);
        const QString text = row->text(1);
        // Command items have no value column and are never sent in a batch.
        if (text.isEmpty())
            continue;
        rows << row;
        requests << ItemWriteRequest { row->data(0, Qt::UserRole).toInt(), itemRowName(row->text(0)),
            text.mid(1).trimmed() };
    }
}

bool MainWindow::reviewBatch(QVector<QTreeWidgetItem *> &rows, QVector<ItemWriteRequest> &requests)
{
    QVector<ReviewRow> review = buildReviewRows(requests, m_knownValues);
    for (int i = 0; i < review.size(); ++i)
        review[i].row = m_tree->indexOfTopLevelItem(rows.at(i)) + 1;
    if (summarizeReview(review).toWrite == 0) {
        showOkBox(QMessageBox::Information, tr("写入配置"), tr("要写入的值与设备中的值相同,没有写入任何配置项"), this);
        return false;
    }
    WriteReviewDialog dialog(review, this);
    if (dialog.exec() != QDialog::Accepted) {
        statusBar()->showMessage(tr("已取消写入配置"), kResultMessageMs);
        return false;
    }
    const QVector<ReviewRow> chosen = dialog.rows();
    QVector<QTreeWidgetItem *> keptRows;
    QVector<ItemWriteRequest> keptRequests;
    for (int i = 0; i < chosen.size(); ++i) {
        if (chosen.at(i).checked) {
            keptRows << rows.at(i);
            keptRequests << requests.at(i);
        }
    }
    rows = keptRows;
    requests = keptRequests;
    return !requests.isEmpty();
}

bool MainWindow::runBatch(const LinkSettings &link, const QVector<QTreeWidgetItem *> &rows,
    const QVector<ItemWriteRequest> &requests, const BatchRunner &runner)
{
    std::atomic_bool stop { false };
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("writeProgress"));
    progress.setWindowTitle(tr("写入配置"));
    progress.setCancelButtonText(tr("取消"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, requests.size());
    // Wide enough for its title and an item's name, so it does not jump.
    progress.setMinimumWidth(progress.fontMetrics().averageCharWidth() * 60);
    // Cancel lets the item on the line finish, then nothing more is sent.
    connect(&progress, &QProgressDialog::canceled, this, [&stop] { stop = true; });

    bool failed = false;
    int confirmed = 0;
    int refused = 0;
    int unknown = 0;
    const bool opened = runner(
        [&](int i) {
            m_tree->setCurrentItem(rows.at(i));
            statusBar()->showMessage(tr("正在写入配置......"));
            progress.setLabelText(
                tr("正在写入第%1项(共%2项): %3").arg(i + 1).arg(requests.size()).arg(requests.at(i).name));
            progress.setValue(i);
        },
        [&](int i, ItemWriteResult result) {
            recordWrite(rows.at(i), requests.at(i).value, result, 2, link);
            const QString error = withOutcomeLine(result.failure.text(), result.outcome);
            // The batch ends at a failure: its boxes come without the progress under them.
            // reset() also stops the dialog's own timer, which would show it
            // again over the box.
            if (!result.confirmed()) {
                progress.reset();
                progress.hide();
            }
            if (showWriteResult(rows.at(i), result, error, 2)) {
                ++confirmed;
                refused += result.matches() ? 0 : 1;
                return true;
            }
            unknown += result.outcome == WriteOutcome::Unknown ? 1 : 0;
            showErrorBox(tr("写入配置"), tr("写入配置失败: %1").arg(requests.at(i).value), windowIcon());
            failed = true;
            return false;
        },
        &stop);
    progress.close();
    if (!opened)
        return false;
    // A write whose outcome is unknown may have landed: it is not counted as unwritten.
    if (unknown > 0) {
        m_writeSummary->setText(tr("批量写入: 已写入%1项,设备未接受%2项,结果未知%3项,未写入%4项")
                                    .arg(confirmed - refused)
                                    .arg(refused)
                                    .arg(unknown)
                                    .arg(requests.size() - confirmed - unknown));
    } else {
        m_writeSummary->setText(tr("批量写入: 已写入%1项,设备未接受%2项,未写入%3项")
                                    .arg(confirmed - refused)
                                    .arg(refused)
                                    .arg(requests.size() - confirmed));
    }
    if (failed)
        return false;
    if (confirmed < requests.size()) {
        statusBar()->showMessage(
            tr("已取消写入配置: 已写入%1项,共%2项", nullptr, int(requests.size())).arg(confirmed).arg(requests.size()));
        return false;
    }
    statusBar()->showMessage(tr("写入配置成功"), kResultMessageMs);
    return true;
}

void MainWindow::slotSyncTime()
{
    if (!beginItemOperation())
        return;
    const auto done = qScopeGuard([this] { endItemOperation(); });
    const LinkSettings link = storedLinkSettings();
    DeviceChannel channel;
    if (!channel.open(link)) {
        showErrorBox(tr("同步时间"), channel.openFailure().text(), windowIcon());
        return;
    }
    syncTime(channel, link);
}

void MainWindow::syncTime(DeviceChannel &channel, const LinkSettings &link)
{
    const QDateTime now = QDateTime::currentDateTime();
    const ClockResult clock = ItemSession(channel).setClock(now);
    appendJournal(
        link, -1, QStringLiteral("clock"), QString(), ClockResult::timeText(now), clock.answer, clock.outcomeWord());
    if (clock.outcome == WriteOutcome::Unknown) {
        showErrorBox(tr("同步时间"), withOutcomeLine(clock.failure.text(), clock.outcome), windowIcon());
        return;
    }
    if (clock.acknowledged())
        QMessageBox::information(this, tr("同步时间"), tr("同步时间成功"));
    else
        showErrorBox(tr("同步时间"), tr("同步时间失败"), windowIcon());
}

void MainWindow::slotClearItems()
{
    m_tree->clear();
}

void MainWindow::slotAddItems(int index, const QStringList &list)
{
    if (!isSkippedItem(index, list))
        addItemRow(index, list);
}

void MainWindow::slotItemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    if (!item || m_itemOperationRunning)
        return;
    QString newValue;
    const int count = editItem(item->text(0), item->text(1), newValue);
    if (count != 0)
        writeEditedItem(item, newValue, count);
}

void MainWindow::writeEditedItem(QTreeWidgetItem *row, const QString &value, int count)
{
    if (!beginItemOperation())
        return;
    const auto done = qScopeGuard([this] { endItemOperation(); });
    const LinkSettings link = storedLinkSettings();
    DeviceChannel channel;
    if (!openWriteChannel(channel, link))
        return;
    if (!writeItem(channel, link, row, value, count))
        showErrorBox(tr("写入配置"), tr("写入配置失败: %1").arg(value), windowIcon());
}

void MainWindow::addItemRow(int index, const QStringList &list)
{
    const ItemRowText texts = itemRowText(m_tree->topLevelItemCount() + 1, { index, list });
    auto *row = new QTreeWidgetItem(QStringList { texts.column0, texts.column1 });
    row->setData(0, Qt::UserRole, index);
    // Rows are numbered as shown; writes and files use the meter's own index.
    const QString tip = tr("写入和导出使用配置项序号%1").arg(index);
    row->setToolTip(0, tip);
    row->setToolTip(1, tip);
    m_tree->addTopLevelItem(row);
}

bool MainWindow::isSkippedItem(int index, const QStringList &list)
{
    ItemRecord released;
    const bool skipped = m_rowFilter.isSkipped({ index, list }, &released);
    if (!released.fields.isEmpty())
        addItemRow(released.index, released.fields);
    return skipped;
}

void MainWindow::loadSkipItems()
{
    m_rowFilter = ItemRowFilter(loadSkipFile(QStringLiteral("SkipItems")));
}

int MainWindow::editItem(const QString &name, const QString &value, QString &newValue)
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
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral(" "), itemName, QMessageBox::Ok | QMessageBox::Cancel, this,
            Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box.setWindowIcon(windowIcon());
        box.button(QMessageBox::Ok)->setText(tr("确定"));
        box.button(QMessageBox::Cancel)->setText(tr("取消"));
        // A command runs as soon as it is sent (a factory reset cannot be
        // taken back): say which row it is, and let Enter cancel.
        box.setInformativeText(tr("第%1行是命令,按“确定”立即发送给设备执行。").arg(rowNumber));
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? 1 : 0;
    }

    ModifyDialog dialog(itemName, itemValue, this);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    newValue = dialog.value().trimmed();
    return 2;
}

bool MainWindow::writeItem(
    DeviceChannel &channel, const LinkSettings &link, QTreeWidgetItem *row, const QString &value, int count)
{
    statusBar()->showMessage(tr("正在写入配置......"));
    const int index = row->data(0, Qt::UserRole).toInt();
    const ItemWriteResult result = ItemSession(channel).writeItem(index, itemRowName(row->text(0)), value, count);
    recordWrite(row, value, result, count, link);
    return showWriteResult(row, result, withOutcomeLine(result.failure.text(), result.outcome), count);
}

bool MainWindow::showWriteResult(QTreeWidgetItem *row, const ItemWriteResult &result, const QString &error, int count)
{
    // Without a confirmed answer the row keeps the value it showed.
    if (!result.confirmed()) {
        showErrorBox(tr("提交"), error, windowIcon());
        return false;
    }
    if (count == 2)
        row->setText(1, QLatin1String(": ") + result.answer.at(1));
    // The meter kept another value: say so on the row until the next answer.
    const QString indexTip = tr("写入和导出使用配置项序号%1").arg(row->data(0, Qt::UserRole).toInt());
    row->setBackground(1, result.matches() ? QBrush() : kRefusedBrush);
    row->setToolTip(1, result.matches() ? indexTip : tr("设备未接受该值"));
    if (result.accepted)
        statusBar()->showMessage(tr("写入配置成功"), kResultMessageMs);
    else
        statusBar()->showMessage(tr("写入配置失败,该项不支持修改"), kResultMessageMs);
    return true;
}

bool MainWindow::beginItemOperation()
{
    if (m_itemOperationRunning)
        return false;
    m_itemOperationRunning = true;
    // Waits inside an exchange run the event loop; nothing may change the tree
    // or reach the meter meanwhile.
    m_disabledActions.clear();
    for (QAction *action : { ui->setup, ui->refresh, ui->import_2, ui->export_2, ui->save, ui->sync_time, ui->debug,
             ui->update, ui->monitor }) {
        if (action->isEnabled()) {
            action->setEnabled(false);
            m_disabledActions << action;
        }
    }
    return true;
}

void MainWindow::endItemOperation()
{
    if (!m_journalWarning.isEmpty()) {
        const QString warning = m_journalWarning;
        m_journalWarning.clear();
        showOkBox(QMessageBox::Warning, tr("写入记录"), warning, this);
    }
    // Input that queued up while the window was blocked reaches the disabled
    // actions now and is dropped, instead of running after the operation.
    QCoreApplication::processEvents();
    for (QAction *action : qAsConst(m_disabledActions))
        action->setEnabled(true);
    m_disabledActions.clear();
    m_itemOperationRunning = false;
}

QByteArray MainWindow::buildClockFrame(const DeviceChannel &channel)
{
    return ::buildClockFrame(channel.deviceAddress(), QDateTime::currentDateTime());
}

void MainWindow::setUpWriteSafety()
{
    m_openJournalFolder = new QAction(this);
    m_openJournalFolder->setObjectName(QStringLiteral("openJournalFolder"));
    // Beside the other operations, with Exit kept last.
    ui->menu->insertAction(ui->quit, m_openJournalFolder);
    ui->menu->insertSeparator(ui->quit);
    connect(m_openJournalFolder, &QAction::triggered, this, &MainWindow::slotOpenJournalFolder);
    m_writeSummary = new QLabel(this);
    m_writeSummary->setObjectName(QStringLiteral("writeSummary"));
    statusBar()->addPermanentWidget(m_writeSummary);
}

void MainWindow::slotRefreshedItem(int index, const QStringList &list)
{
    m_knownValues.noteRead(m_refreshConnection, { index, list });
    slotAddItems(index, list);
}

QUrl MainWindow::journalFolderUrl()
{
    return QUrl::fromLocalFile(QDir::currentPath());
}

void MainWindow::slotOpenJournalFolder()
{
    QDesktopServices::openUrl(journalFolderUrl());
}

void MainWindow::recordWrite(
    QTreeWidgetItem *row, const QString &value, const ItemWriteResult &result, int count, const LinkSettings &link)
{
    const int index = row->data(0, Qt::UserRole).toInt();
    const QString oldValue = m_knownValues.value(index);
    if (result.confirmed())
        m_knownValues.noteWrite(link.meterKey(), index, result.answer);
    const QString answered = count == 2 ? result.answer.value(1) : QString();
    appendJournal(link, index, itemRowName(row->text(0)), oldValue, value, answered, result.outcomeWord(),
        m_tree->indexOfTopLevelItem(row) + 1);
}

void MainWindow::appendJournal(const LinkSettings &link, int index, const QString &name, const QString &oldValue,
    const QString &requested, const QString &answered, const QString &result, int row)
{
    JournalEntry entry = Journal::entryNow(
        link, m_knownValues.model(), m_knownValues.deviceName(), index, name, oldValue, requested, answered, result);
    entry.row = row;
    // A journal that cannot be written never holds up the meter's work; the
    // user hears of it once.
    if (!m_journal.append(entry) && !m_journalWarned) {
        m_journalWarned = true;
        m_journalWarning = m_journal.errorText();
    }
}
