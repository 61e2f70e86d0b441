#pragma once

#include "items/itemsession.h"
#include "link/commsettings.h"

#include <QCoreApplication>
#include <QVector>

#include <functional>

class ItemPage;
class QTreeWidgetItem;
struct ReviewRow;

// What a batch came to, for the summary beside the status bar.
struct BatchWriteCounts
{
    int written = 0;
    int refused = 0;
    int unknown = 0; // may have landed: not counted as unwritten
    int unwritten = 0;
};

// Writes rows of an item page in one batch: the review (of the rows with a
// value, or of the rows a comparison or a backup hands in), the backup of
// what the meter holds before the first write, then the writes off the
// window's thread behind a progress with Cancel, each row's outcome, the
// journal and the summary. Stops at the first write that is not confirmed.
class ItemBatchWrite
{
    Q_DECLARE_TR_FUNCTIONS(ItemBatchWrite)

public:
    explicit ItemBatchWrite(ItemPage &page);

    // The page's rows that hold a value, in tree order, reviewed first when
    // `reviewFirst`; true when every row was written.
    bool run(const LinkSettings &link, bool reviewFirst);
    // Shows the review of these rows (whatever the setting says) and writes
    // the rows left checked; true when every one was written.
    bool runReviewed(const LinkSettings &link, const QVector<ReviewRow> &review);
    // The summary in the current language.
    static QString summaryText(const BatchWriteCounts &counts);

private:
    using BatchStart = std::function<void(int row)>;
    using BatchResult = std::function<bool(int row, const ItemWriteResult &result)>;

    void collect();
    // Lets the user pick the rows to write; false when nothing is to be written.
    bool review(const QVector<ReviewRow> &review);
    QTreeWidgetItem *rowOfIndex(int index) const;
    // The review's note when the filter hides some of its rows.
    static QString hiddenRowsNote(const QVector<QTreeWidgetItem *> &rows);
    // Saves what the meter held before the batch (reading it first when a
    // row's value is not known); false, after saying why, when the batch must
    // not start.
    bool backUp(const LinkSettings &link);
    bool write(const LinkSettings &link);

    ItemPage &m_page;
    QVector<QTreeWidgetItem *> m_rows;
    QVector<ItemWriteRequest> m_requests;
    // Where this batch's copy of the values before it went; empty without one.
    QString m_backupPath;
};
