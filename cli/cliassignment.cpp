#include "cli/cliassignment.h"

#include "cli/vexacli.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// "波特率(2400/4800/9600)" -> "波特率": the name without its choices.
QString label(const QString &name)
{
    const int open = name.indexOf(QLatin1Char('('));
    return open > 0 ? name.left(open).trimmed() : name;
}

} // namespace

CliAssignment CliAssignment::parse(const QString &argument)
{
    CliAssignment assignment;
    const int equals = argument.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return assignment;
    const QString key = argument.left(equals).trimmed();
    assignment.value = argument.mid(equals + 1).trimmed();
    static const QRegularExpression kDigits(QStringLiteral("^\\d+$"));
    if (!kDigits.match(key).hasMatch()) {
        assignment.name = key;
        return assignment;
    }
    const int index = key.size() <= 3 ? key.toInt() : -1;
    if (index <= kMaxImportedItemIndex)
        assignment.index = index;
    return assignment;
}

QString CliAssignment::resolve(const QVector<ItemRecord> &items)
{
    QVector<const ItemRecord *> fitting;
    for (const ItemRecord &item : items) {
        const QString itemName = item.fields.value(0);
        if (itemName == name) {
            index = item.index;
            return {};
        }
        if (itemName.startsWith(name, Qt::CaseInsensitive))
            fitting << &item;
    }
    // "波特率" for "波特率(2400/4800)" and "波特率校正(...)": the one it names whole.
    QVector<const ItemRecord *> whole;
    for (const ItemRecord *item : qAsConst(fitting)) {
        if (label(item->fields.value(0)).compare(name, Qt::CaseInsensitive) == 0)
            whole << item;
    }
    if (whole.size() == 1)
        fitting = whole;
    if (fitting.size() == 1) {
        index = fitting.first()->index;
        return {};
    }
    if (fitting.isEmpty())
        return VexaCli::tr("设备没有名称以“%1”开头的配置项").arg(name);
    QStringList candidates;
    for (const ItemRecord *item : qAsConst(fitting))
        candidates << VexaCli::tr("配置项序号%1 %2").arg(item->index).arg(item->fields.value(0));
    return VexaCli::tr("“%1”对应多个配置项,请写出更多字或使用配置项序号: %2")
        .arg(name, candidates.join(QStringLiteral("; ")));
}
