#pragma once

#include "items/itemcsv.h"
#include "items/skipitems.h"

// Which received items the item list shows, by the identification rows
// named in SkipItems. A device-name row named there is held back and shown
// or hidden together with the model row that follows it. The window and the
// command line (its row numbers) use the same rules.
class ItemRowFilter
{
public:
    explicit ItemRowFilter(const SkipMap &skipMap = {});

    // Whether the record is hidden. A held device-name row that is to be
    // shown after all comes back in *released: it goes just before this
    // record; otherwise *released is left empty.
    bool isSkipped(const ItemRecord &record, ItemRecord *released);

    // The list's row numbers (from 1) of records received in this order; 0
    // for a hidden record.
    static QVector<int> rowNumbers(const QVector<ItemRecord> &records, const SkipMap &skipMap);

private:
    SkipMap m_skipMap;
    bool m_hasHeldRow = false;
    ItemRecord m_held;
};
