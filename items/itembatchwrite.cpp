#include "items/itembatchwrite.h"

#include "base/backgroundjob.h"
#include "base/messageboxes.h"
#include "items/configtree.h"
#include "items/itempage.h"
#include "items/writereviewdialog.h"
#include "link/devicechannel.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>

ItemBatchWrite::ItemBatchWrite(ItemPage &page)
    : m_page(page)
{
}

bool ItemBatchWrite::run(const LinkSettings &link, bool reviewFirst)
{
    collect();
    if (reviewFirst && !review())
        return false;
    m_page.m_statusBar->showMessage(tr("正在写入配置......"));
    return write(link);
}

void ItemBatchWrite::collect()
{
    for (int i = 0; i < m_page.m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_page.m_tree->topLevelItem(i);
        const QString text = row->text(1);
        // Command items have no value column and are never sent in a batch.
        if (text.isEmpty())
            continue;
        m_rows << row;
        const ItemRecord record = ItemPage::recordOf(row);
        m_requests << ItemWriteRequest { record.index, record.fields.value(0).trimmed(), text.mid(1).trimmed() };
    }
}

bool ItemBatchWrite::review()
{
    QVector<ReviewRow> review = buildReviewRows(m_requests, m_page.m_knownValues);
    for (int i = 0; i < review.size(); ++i)
        review[i].row = m_page.m_tree->indexOfTopLevelItem(m_rows.at(i)) + 1;
    if (summarizeReview(review).toWrite == 0) {
        showOkBox(QMessageBox::Information, tr("写入配置"), tr("要写入的值与设备中的值相同,没有写入任何配置项"),
            m_page.window());
        return false;
    }
    WriteReviewDialog dialog(review, m_page.window());
    if (dialog.exec() != QDialog::Accepted) {
        m_page.m_statusBar->showMessage(tr("已取消写入配置"), ItemPage::kResultMessageMs);
        return false;
    }
    const QVector<ReviewRow> chosen = dialog.rows();
    QVector<QTreeWidgetItem *> keptRows;
    QVector<ItemWriteRequest> keptRequests;
    for (int i = 0; i < chosen.size(); ++i) {
        if (chosen.at(i).checked) {
            keptRows << m_rows.at(i);
            keptRequests << m_requests.at(i);
        }
    }
    m_rows = keptRows;
    m_requests = keptRequests;
    return !m_requests.isEmpty();
}

bool ItemBatchWrite::write(const LinkSettings &link)
{
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
    // A write whose outcome is unknown may have landed: it is not counted as unwritten.
    if (unknown > 0) {
        m_page.m_writeSummary->setText(tr("批量写入: 已写入%1项,设备未接受%2项,结果未知%3项,未写入%4项")
                                           .arg(confirmed - refused)
                                           .arg(refused)
                                           .arg(unknown)
                                           .arg(m_requests.size() - confirmed - unknown));
    } else {
        m_page.m_writeSummary->setText(tr("批量写入: 已写入%1项,设备未接受%2项,未写入%3项")
                                           .arg(confirmed - refused)
                                           .arg(refused)
                                           .arg(m_requests.size() - confirmed));
    }
    if (failed)
        return false;
    if (confirmed < m_requests.size()) {
        m_page.m_statusBar->showMessage(tr("已取消写入配置: 已写入%1项,共%2项", nullptr, int(m_requests.size()))
                                            .arg(confirmed)
                                            .arg(m_requests.size()));
        return false;
    }
    m_page.m_statusBar->showMessage(tr("写入配置成功"), ItemPage::kResultMessageMs);
    return true;
}
