#include "items/itembatchwrite.h"

#include "base/backgroundjob.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "items/configtree.h"
#include "items/itembackup.h"
#include "items/itempage.h"
#include "items/writereviewdialog.h"
#include "link/devicechannel.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QStatusBar>

ItemBatchWrite::ItemBatchWrite(ItemPage &page)
    : m_page(page)
{
}

bool ItemBatchWrite::run(const LinkSettings &link, bool reviewFirst)
{
    collect();
    // The review maps its rows back to the tree by item, as for a comparison or a backup.
    if (reviewFirst)
        return runReviewed(link, buildReviewRows(m_requests, m_page.m_knownValues));
    m_page.m_statusBar->showMessage(tr("正在写入配置......"));
    return write(link);
}

bool ItemBatchWrite::runReviewed(const LinkSettings &link, const QVector<ReviewRow> &rows)
{
    if (!review(rows))
        return false;
    m_page.m_statusBar->showMessage(tr("正在写入配置......"));
    return write(link);
}

QString ItemBatchWrite::summaryText(const BatchWriteCounts &counts)
{
    if (counts.unknown > 0) {
        return tr("批量写入: 已写入%1项,设备未接受%2项,结果未知%3项,未写入%4项")
            .arg(counts.written)
            .arg(counts.refused)
            .arg(counts.unknown)
            .arg(counts.unwritten);
    }
    return tr("批量写入: 已写入%1项,设备未接受%2项,未写入%3项")
        .arg(counts.written)
        .arg(counts.refused)
        .arg(counts.unwritten);
}

void ItemBatchWrite::collect()
{
    for (int i = 0; i < m_page.m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_page.m_tree->topLevelItem(i);
        const QString text = row->text(1);
        const ItemRecord record = ItemPage::recordOf(row);
        // Command items have no value column and are never sent in a batch;
        // rows 01/02 of a file show the meter's names, which the file lacks.
        if (text.isEmpty() || (KnownMeterValues::isIdentificationIndex(record.index) && record.fields.size() < 2))
            continue;
        m_rows << row;
        m_requests << ItemWriteRequest { record.index, record.fields.value(0).trimmed(), text.mid(1).trimmed() };
    }
}

bool ItemBatchWrite::review(const QVector<ReviewRow> &review)
{
    QVector<ReviewRow> shown = review;
    QVector<QTreeWidgetItem *> rows;
    for (ReviewRow &row : shown) {
        QTreeWidgetItem *treeRow = rowOfIndex(row.request.index);
        rows << treeRow;
        row.row = treeRow ? m_page.m_tree->indexOfTopLevelItem(treeRow) + 1 : 0;
        // A write shows its answer on its row: without one it is not sent.
        if (!treeRow && row.problem.isEmpty()) {
            row.problem = tr("列表中没有该配置项,不写入");
            row.checked = false;
        }
    }
    if (summarizeReview(shown).toWrite == 0) {
        showOkBox(QMessageBox::Information, tr("写入配置"), tr("要写入的值与设备中的值相同,没有写入任何配置项"),
            m_page.window());
        return false;
    }
    WriteReviewDialog dialog(shown, m_page.window());
    dialog.setNote(hiddenRowsNote(rows));
    if (dialog.exec() != QDialog::Accepted) {
        m_page.m_statusBar->showMessage(tr("已取消写入配置"), ItemPage::kResultMessageMs);
        return false;
    }
    const QVector<ReviewRow> chosen = dialog.rows();
    m_rows.clear();
    m_requests.clear();
    for (int i = 0; i < chosen.size(); ++i) {
        if (chosen.at(i).checked) {
            m_rows << rows.at(i);
            m_requests << chosen.at(i).request;
        }
    }
    return !m_requests.isEmpty();
}

QTreeWidgetItem *ItemBatchWrite::rowOfIndex(int index) const
{
    for (int i = 0; i < m_page.m_tree->topLevelItemCount(); ++i) {
        if (ItemPage::recordOf(m_page.m_tree->topLevelItem(i)).index == index)
            return m_page.m_tree->topLevelItem(i);
    }
    return nullptr;
}

QString ItemBatchWrite::hiddenRowsNote(const QVector<QTreeWidgetItem *> &rows)
{
    int hidden = 0;
    for (const QTreeWidgetItem *row : rows)
        hidden += row && row->isHidden() ? 1 : 0;
    return hidden > 0 ? tr("筛选已隐藏 %1 行，这些行同样会写入").arg(hidden) : QString();
}

bool ItemBatchWrite::backUp(const LinkSettings &link)
{
    m_backupPath.clear();
    if (!readBackupBeforeWrite(*appSettings()))
        return true;
    const KnownMeterValues &known = m_page.m_knownValues;
    // The copy is of what this meter holds: another meter's values, or none,
    // are read first.
    bool allKnown = known.connection() == link.meterKey() && !known.isEmpty();
    for (const ItemWriteRequest &request : qAsConst(m_requests))
        allKnown = allKnown && known.contains(request.index);
    if (!allKnown && !m_page.readKnownValues(link, tr("写入配置")))
        return false;
    const ItemBackup backup
        = ItemBackup::write(QDir::currentPath(), known.model(), QDateTime::currentDateTime(), known.records());
    if (!backup.ok()) {
        m_page.showErrorBox(tr("写入配置"), backup.errorText(), m_page.window()->windowIcon());
        return false;
    }
    m_page.m_batchBackup = backup.fileName();
    m_backupPath = backup.path();
    return true;
}

bool ItemBatchWrite::write(const LinkSettings &link)
{
    // No write before the copy of what the meter held is saved; the
    // journal's lines of this batch name that copy.
    if (!backUp(link))
        return false;
    const auto forgetBackup = qScopeGuard([this] { m_page.m_batchBackup.clear(); });
    // The window paints and hears Cancel while an exchange waits; Cancel lets
    // the item on the line finish, then nothing more is sent.
    BackgroundJob job(m_page.window());
    QProgressDialog &progress = job.progress();
    progress.setObjectName(QStringLiteral("writeProgress"));
    progress.setWindowTitle(tr("写入配置"));
    progress.setCancelButtonText(tr("取消"));
    progress.setRange(0, m_requests.size());
    // Wide enough for its title and an item's name, so it does not jump.
    progress.setMinimumWidth(progress.fontMetrics().averageCharWidth() * 60);

    bool failed = false;
    int confirmed = 0;
    int refused = 0;
    int unknown = 0;
    const BatchStart onStart = [&](int i) {
        m_page.m_tree->setCurrentItem(m_rows.at(i));
        m_page.m_statusBar->showMessage(tr("正在写入配置......"));
        progress.setLabelText(
            tr("正在写入第%1项(共%2项): %3").arg(i + 1).arg(m_requests.size()).arg(m_requests.at(i).name));
        progress.setValue(i);
    };
    const BatchResult onResult = [&](int i, const ItemWriteResult &result) {
        m_page.recordWrite(m_rows.at(i), m_requests.at(i).value, result, 2, link);
        const QString error = withOutcomeLine(result.failure.text(), result.outcome);
        // The batch ends at a failure: its boxes come without the progress under them.
        // reset() also stops the dialog's own timer, which would show it
        // again over the box.
        if (!result.confirmed()) {
            progress.reset();
            progress.hide();
        }
        if (m_page.showWriteResult(m_rows.at(i), result, error, 2)) {
            ++confirmed;
            refused += result.matches() ? 0 : 1;
            return true;
        }
        unknown += result.outcome == WriteOutcome::Unknown ? 1 : 0;
        m_page.showErrorBox(
            tr("写入配置"), tr("写入配置失败: %1").arg(m_requests.at(i).value), m_page.window()->windowIcon());
        failed = true;
        return false;
    };
    LinkFailure openFailure;
    job.run([&] {
        DeviceChannel channel;
        if (!channel.open(link)) {
            openFailure = channel.openFailure().saying(tr("写入错误,连接设备失败"));
            return;
        }
        ItemSession(channel).writeBatch(
            m_requests, [&](int i) { job.post([&onStart, i] { onStart(i); }); },
            [&](int i, const ItemWriteResult &result) {
                job.post([&onResult, i, result] { onResult(i, result); });
                // The session itself stops at a write that was not confirmed.
                return true;
            },
            &job.stopFlag());
    });
    if (openFailure.failed()) {
        m_page.showErrorBox(tr("写入配置"), openFailure.text(), m_page.window()->windowIcon());
        return false;
    }
    m_page.showWriteSummary({ confirmed - refused, refused, unknown, int(m_requests.size()) - confirmed - unknown });
    if (failed)
        return false;
    if (confirmed < m_requests.size()) {
        m_page.m_statusBar->showMessage(tr("已取消写入配置: 已写入%1项,共%2项", nullptr, int(m_requests.size()))
                                            .arg(confirmed)
                                            .arg(m_requests.size()));
        return false;
    }
    if (m_backupPath.isEmpty())
        m_page.m_statusBar->showMessage(tr("写入配置成功"), ItemPage::kResultMessageMs);
    else
        SavedFileNotice::announce(m_backupPath, tr("写入配置成功,写入前的值"));
    return true;
}
