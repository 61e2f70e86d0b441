// One line of an item CSV file, and whole files through the import.
#include "fuzzsupport.h"
#include "items/itemcsv.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

static void checkRecord(const ItemRecord &record)
{
    FUZZ_CHECK(record.index >= 0 && record.index <= 255);
    FUZZ_CHECK(record.fields.size() == 1 || record.fields.size() == 2);
    if (record.index <= 1)
        FUZZ_CHECK(record.fields.size() == 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);

    ItemRecord record;
    if (parseItemLine(QString::fromUtf8(bytes), &record))
        checkRecord(record);

    const QString path = fuzzWriteFile("items.csv", bytes);
    const ItemImport import = importItems(path);
    FUZZ_CHECK(import.opened);
    if (!import.error.isEmpty())
        FUZZ_CHECK(import.records.isEmpty());
    for (const ItemRecord &r : import.records)
        checkRecord(r);

    // What the export writes must come back, or be named as lost.
    QVector<ItemRowText> rows;
    for (const ItemRecord &r : import.records) {
        ItemRowText row;
        row.index = r.index;
        row.column0 = QStringLiteral("%1. %2").arg(r.index, 2, 10, QLatin1Char('0')).arg(r.fields.value(0));
        if (r.fields.size() > 1)
            row.column1 = QStringLiteral(": ") + r.fields.at(1);
        rows << row;
    }
    const QStringList lost = itemsLostOnImport(rows);
    FUZZ_CHECK(lost.size() <= rows.size());
    return 0;
}
