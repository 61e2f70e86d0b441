#pragma once

#include "items/itemsession.h"
#include "link/commsettings.h"

#include <QCoreApplication>
#include <QVector>

#include <functional>

class ItemPage;
class QTreeWidgetItem;

// Writes the rows of an item page that hold a value, in tree order: the
// review (when it is switched on), then the writes off the window's thread
// behind a progress with Cancel, each row's outcome, the journal and the
// summary. Stops at the first write that is not confirmed.
class ItemBatchWrite
{
    Q_DECLARE_TR_FUNCTIONS(ItemBatchWrite)

public:
    explicit ItemBatchWrite(ItemPage &page);

    // True when every row was written.
    bool run(const LinkSettings &link, bool reviewFirst);

private:
    using BatchStart = std::function<void(int row)>;
    using BatchResult = std::function<bool(int row, const ItemWriteResult &result)>;

    void collect();
    // Lets the user pick the rows to write; false when nothing is to be written.
    bool review();
    bool write(const LinkSettings &link);

    ItemPage &m_page;
    QVector<QTreeWidgetItem *> m_rows;
    QVector<ItemWriteRequest> m_requests;
};
