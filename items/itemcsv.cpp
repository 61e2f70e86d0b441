#include "items/itemcsv.h"

#include "base/metertext.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

namespace {

QString nameOf(const ItemRowText &row)
{
    return itemRowName(row.column0);
}

QString valueOf(const ItemRowText &row)
{
    if (row.column1.startsWith(QLatin1Char(':')))
        return row.column1.mid(1);
    return row.column1;
}

// What the tree should hold for the row after an import of its line.
ItemRecord expectedRecord(const ItemRowText &row)
{
    ItemRecord record;
    record.index = row.index;
    record.fields << nameOf(row);
    if (row.index > 1 && !row.column1.isEmpty())
        record.fields << valueOf(row).trimmed();
    return record;
}

} // namespace

QString itemRowName(const QString &column0)
{
    static const QRegularExpression kRowNumber(QStringLiteral("^\\d+\\."));
    QString name = column0;
    name.remove(kRowNumber);
    return name.trimmed();
}

bool itemRowContains(const ItemRowText &row, const QString &text)
{
    const QString wanted = text.trimmed();
    const QString number = row.column0.section(QLatin1Char('.'), 0, 0);
    return number.contains(wanted, Qt::CaseInsensitive)
        || itemRowName(row.column0).contains(wanted, Qt::CaseInsensitive)
        || valueOf(row).contains(wanted, Qt::CaseInsensitive);
}

ItemRowText itemRowText(int rowNumber, const ItemRecord &record)
{
    ItemRowText row;
    row.index = record.index;
    row.column0 = QStringLiteral("%1").arg(rowNumber, 2, 10, QLatin1Char('0')) + QLatin1String(". ")
        + record.fields.value(0).trimmed();
    if (record.fields.size() >= 2)
        row.column1 = QLatin1String(": ") + record.fields.at(1).trimmed();
    return row;
}

QString itemCsvLine(const ItemRowText &row)
{
    QString line = QStringLiteral("%1").arg(row.index, 2, 10, QLatin1Char('0'));
    line += QLatin1String(". ");
    line += nameOf(row);
    line += QLatin1Char(',');
    if (!row.column1.isEmpty())
        line += valueOf(row);
    return line;
}

QString itemFileLine(const ItemRowText &row)
{
    return withoutControlCharacters(itemCsvLine(row));
}

QByteArray itemFileBytes(const QVector<ItemRowText> &rows)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const ItemRowText &row : rows)
        bytes += itemFileLine(row).toUtf8() + '\n';
    return bytes;
}

QString exportItems(const QString &path, const QVector<ItemRowText> &rows, OutputFile::Mode mode, OutputFile::Name name)
{
    OutputFile file;
    if (!file.open(path, mode, name))
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path) + QLatin1Char('\n')
            + file.errorText();
    if (!file.write(itemFileBytes(rows)) || !file.close())
        return QCoreApplication::translate("MainWindow", "写入文件失败: %1").arg(path) + QLatin1Char('\n')
            + file.errorText();
    return {};
}

bool itemLineComesBack(const ItemRowText &row)
{
    ItemRecord back;
    const ItemRecord expected = expectedRecord(row);
    return parseItemLine(itemFileLine(row), &back) && back.index == expected.index && back.fields == expected.fields;
}

QStringList itemsLostOnImport(const QVector<ItemRowText> &rows)
{
    QStringList lost;
    for (const ItemRowText &row : rows) {
        if (!itemLineComesBack(row))
            lost << QStringLiteral("%1. %2").arg(row.index, 2, 10, QLatin1Char('0')).arg(nameOf(row));
    }
    return lost;
}

bool parseItemLine(const QString &line, ItemRecord *record, IdentificationValues identification)
{
    // Greedy name: the last comma on the line starts the value.
    static const QRegularExpression kItemLine(QStringLiteral("^(\\d+)\\.(.+),(.+)?"));
    const QRegularExpressionMatch match = kItemLine.match(line);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const int index = match.captured(1).trimmed().toInt(&ok, 10);
    // An index beyond the items would be written to the debug switch or,
    // past one byte, to another item.
    if (!ok || index > kMaxImportedItemIndex)
        return false;
    record->index = index;
    record->fields = QStringList { match.captured(2).trimmed() };
    // Nothing at all after the comma is how a command item is exported; it
    // stays a command so a batch write never triggers it. Items 0 and 1
    // identify the instrument and are never written.
    const bool keepValue = index > 1 || identification == IdentificationValues::Keep;
    if (keepValue && match.capturedStart(3) >= 0)
        record->fields << match.captured(3).trimmed();
    return true;
}

ItemImport importItems(const QString &path, IdentificationValues identification)
{
    ItemImport result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.error = QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path);
        return result;
    }
    result.opened = true;
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    stream.setAutoDetectUnicode(true);
    QVector<bool> seen(kMaxImportedItemIndex + 1, false);
    for (int lineNumber = 1; !stream.atEnd(); ++lineNumber) {
        ItemRecord record;
        QString where;
        if (!parseItemLine(stream.readLine(), &record, identification))
            where = QCoreApplication::translate("MainWindow", "第%1行").arg(lineNumber);
        else if (seen.at(record.index))
            where = QCoreApplication::translate("MainWindow", "第%1行: 配置项%2重复出现")
                        .arg(lineNumber)
                        .arg(record.index);
        if (!where.isEmpty()) {
            result.records.clear();
            result.error = QCoreApplication::translate("MainWindow", "文件解析错误") + QLatin1Char('\n') + where;
            return result;
        }
        seen[record.index] = true;
        result.records << record;
    }
    return result;
}
