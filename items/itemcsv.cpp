#include "items/itemcsv.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

namespace {

// An index outside one byte would be written to another item.
constexpr int MaxItemIndex = 255;

QString nameOf(const ItemRowText &row)
{
    static const QRegularExpression rowNumber(QStringLiteral("^\\d+\\."));
    QString name = row.column0;
    name.remove(rowNumber);
    return name.trimmed();
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

QString exportItems(const QString &path, const QVector<ItemRowText> &rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path);
    file.write("\xEF\xBB\xBF", 3);
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    for (const ItemRowText &row : rows)
        stream << itemCsvLine(row) << '\n';
    stream.flush();
    if (stream.status() != QTextStream::Ok || !file.flush())
        return QCoreApplication::translate("MainWindow", "写入文件失败: %1").arg(path);
    return {};
}

QStringList itemsLostOnImport(const QVector<ItemRowText> &rows)
{
    QStringList lost;
    for (const ItemRowText &row : rows) {
        ItemRecord back;
        const ItemRecord expected = expectedRecord(row);
        if (!parseItemLine(itemCsvLine(row), &back) || back.index != expected.index || back.fields != expected.fields) {
            lost << QStringLiteral("%1. %2").arg(row.index, 2, 10, QLatin1Char('0')).arg(nameOf(row));
        }
    }
    return lost;
}

bool parseItemLine(const QString &line, ItemRecord *record)
{
    // Greedy name: the last comma on the line starts the value.
    static const QRegularExpression expression(QStringLiteral("^(\\d+)\\.(.+),(.+)?"));
    const QRegularExpressionMatch match = expression.match(line);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const int index = match.captured(1).trimmed().toInt(&ok, 10);
    if (!ok || index > MaxItemIndex)
        return false;
    record->index = index;
    record->fields = QStringList { match.captured(2).trimmed() };
    // Nothing at all after the comma is how a command item is exported; it
    // stays a command so a batch write never triggers it. Items 0 and 1
    // identify the instrument and are never written.
    if (index > 1 && match.capturedStart(3) >= 0)
        record->fields << match.captured(3).trimmed();
    return true;
}

ItemImport importItems(const QString &path)
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
    while (!stream.atEnd()) {
        ItemRecord record;
        if (!parseItemLine(stream.readLine(), &record)) {
            result.records.clear();
            result.error = QCoreApplication::translate("MainWindow", "文件解析错误");
            return result;
        }
        result.records << record;
    }
    return result;
}
