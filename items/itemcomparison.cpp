#include "items/itemcomparison.h"

#include "base/outputfile.h"
#include "items/identificationrows.h"
#include "items/journal.h"
#include "items/knownvalues.h"

#include <QMap>

#include <algorithm>

namespace {

using Result = ItemComparisonRow::Result;

// A command has a name only; the identification rows always carry a value,
// even when a file left it out.
bool isCommand(const ItemRecord &record)
{
    return record.fields.size() < 2 && !KnownMeterValues::isIdentificationIndex(record.index);
}

QString modelOf(const QVector<ItemRecord> &records)
{
    for (const ItemRecord &record : records) {
        if (isModelRowName(record.fields.value(0)))
            return record.fields.value(1);
    }
    return {};
}

ItemComparisonRow compareItem(int index, const ItemRecord *meter, const ItemRecord *file)
{
    ItemComparisonRow row;
    row.index = index;
    row.name = (meter ? meter->fields : file->fields).value(0);
    if (meter)
        row.meterValue = meter->fields.value(1);
    if (file)
        row.fileValue = file->fields.value(1);
    if ((meter && isCommand(*meter)) || (!meter && isCommand(*file)))
        row.result = Result::Command;
    else if (!file)
        row.result = Result::OnlyInMeter;
    else if (!meter)
        row.result = Result::OnlyInFile;
    else if (isCommand(*file))
        row.result = Result::Command;
    else if (file->fields.value(0) != row.name || row.meterValue.trimmed() != row.fileValue.trimmed())
        row.result = Result::Different;
    if (meter && file && file->fields.value(0) != row.name)
        row.fileName = file->fields.value(0);
    return row;
}

QString reportCell(const QString &text)
{
    return Journal::field(Journal::meterCell(text));
}

} // namespace

QString ItemComparisonRow::shownName() const
{
    if (fileName.isEmpty())
        return name;
    return ItemComparison::tr("%1 (文件中为: %2)").arg(name, fileName);
}

ItemComparison::ItemComparison(const QVector<ItemRecord> &meter, const QVector<ItemRecord> &file)
    : m_meterModel(modelOf(meter))
    , m_fileModel(modelOf(file))
{
    QMap<int, const ItemRecord *> meterItems;
    QMap<int, const ItemRecord *> fileItems;
    for (const ItemRecord &record : meter)
        meterItems.insert(record.index, &record);
    for (const ItemRecord &record : file)
        fileItems.insert(record.index, &record);
    QList<int> indices = meterItems.keys() + fileItems.keys();
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (int index : qAsConst(indices))
        m_rows << compareItem(index, meterItems.value(index), fileItems.value(index));
    std::stable_partition(m_rows.begin(), m_rows.end(), [](const ItemComparisonRow &row) { return row.differs(); });
    for (const ItemComparisonRow &row : qAsConst(m_rows)) {
        m_differing += row.differs() ? 1 : 0;
        m_same += row.result == Result::Same ? 1 : 0;
    }
}

bool ItemComparison::modelsDiffer() const
{
    return !m_meterModel.isEmpty() && !m_fileModel.isEmpty() && m_meterModel.trimmed() != m_fileModel.trimmed();
}

QString ItemComparison::summaryText() const
{
    return tr("%1 项不同, %2 项相同").arg(m_differing).arg(m_same);
}

QVector<ItemRecord> ItemComparison::differingFileRecords() const
{
    // Rows 0 and 1 name the meter and are never written; an item the meter
    // does not have, or has under another name, is no item to write to.
    QVector<ItemRecord> records;
    for (const ItemComparisonRow &row : m_rows) {
        if (row.result == Result::Different && row.fileName.isEmpty()
            && !KnownMeterValues::isIdentificationIndex(row.index))
            records << ItemRecord { row.index, { row.name, row.fileValue } };
    }
    std::sort(
        records.begin(), records.end(), [](const ItemRecord &a, const ItemRecord &b) { return a.index < b.index; });
    return records;
}

QString ItemComparison::resultText(ItemComparisonRow::Result result)
{
    switch (result) {
    case Result::Same:
        return tr("相同");
    case Result::Different:
        return tr("不同");
    case Result::OnlyInFile:
        return tr("仅在文件中");
    case Result::OnlyInMeter:
        return tr("仅在设备中");
    case Result::Command:
        break;
    }
    return tr("命令项");
}

QString ItemComparison::resultWord(ItemComparisonRow::Result result)
{
    switch (result) {
    case Result::Same:
        return QStringLiteral("same");
    case Result::Different:
        return QStringLiteral("different");
    case Result::OnlyInFile:
        return QStringLiteral("only-in-file");
    case Result::OnlyInMeter:
        return QStringLiteral("only-in-meter");
    case Result::Command:
        break;
    }
    return QStringLiteral("command");
}

QStringList ItemComparison::columnTitles()
{
    return { tr("序号"), tr("名称"), tr("设备值"), tr("文件值"), tr("结果") };
}

QString ItemComparison::exportReport(const QString &path, const QString &connection, const QDateTime &time) const
{
    QStringList lines;
    lines << Journal::field(tr("设备: %1").arg(connection)) + QLatin1Char(',')
            + Journal::field(tr("时间: %1").arg(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    lines << columnTitles().join(QLatin1Char(','));
    for (const ItemComparisonRow &row : m_rows) {
        lines << QStringList { QStringLiteral("%1").arg(row.index, 2, 10, QLatin1Char('0')),
            reportCell(row.shownName()), reportCell(row.meterValue), reportCell(row.fileValue), resultText(row.result) }
                     .join(QLatin1Char(','));
    }
    OutputFile file;
    if (!file.open(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen))
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path) + QLatin1Char('\n')
            + file.errorText();
    const QByteArray bytes = "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    if (!file.write(bytes) || !file.close())
        return QCoreApplication::translate("MainWindow", "写入文件失败: %1").arg(path) + QLatin1Char('\n')
            + file.errorText();
    return {};
}
