#include "history/servicereport.h"

#include "history/historymarks.h"
#include "items/journalreader.h"
#include "items/knownvalues.h"
#include "link/commsettings.h"

#include <QJsonArray>

namespace {

QJsonArray entriesJson(const QVector<JournalEntry> &entries)
{
    QJsonArray array;
    for (const JournalEntry &entry : entries)
        array.append(Journal::line(entry));
    return array;
}

// Journal lines travel in the journal's own format.
QVector<JournalEntry> entriesFromJson(const QJsonValue &value)
{
    QVector<JournalEntry> entries;
    for (const QJsonValue &line : value.toArray()) {
        JournalEntry entry;
        if (JournalReader::parseLine(line.toString(), &entry))
            entries.append(entry);
    }
    return entries;
}

QString cell(const QString &text)
{
    return QStringLiteral("<td>%1</td>").arg(text.toHtmlEscaped());
}

} // namespace

QJsonObject ServiceReport::toJson() const
{
    QJsonArray itemArray;
    for (const ItemRecord &item : items)
        itemArray.append(QJsonObject { { QStringLiteral("index"), item.index },
            { QStringLiteral("fields"), QJsonArray::fromStringList(item.fields) } });
    return QJsonObject { { QStringLiteral("connection"), connection }, { QStringLiteral("model"), model },
        { QStringLiteral("device_name"), deviceName },
        { QStringLiteral("created"), created.toString(Qt::ISODateWithMs) }, { QStringLiteral("items"), itemArray },
        { QStringLiteral("visit"), entriesJson(visit) }, { QStringLiteral("from"), from.toString(Qt::ISODate) },
        { QStringLiteral("to"), to.toString(Qt::ISODate) },
        { QStringLiteral("range_writes"), entriesJson(rangeWrites) },
        { QStringLiteral("history"), QJsonArray::fromStringList(historyLines) } };
}

ServiceReport ServiceReport::fromJson(const QJsonObject &json)
{
    ServiceReport report;
    report.connection = json.value(QStringLiteral("connection")).toString();
    report.model = json.value(QStringLiteral("model")).toString();
    report.deviceName = json.value(QStringLiteral("device_name")).toString();
    report.created = QDateTime::fromString(json.value(QStringLiteral("created")).toString(), Qt::ISODateWithMs);
    for (const QJsonValue &value : json.value(QStringLiteral("items")).toArray()) {
        ItemRecord item;
        item.index = value.toObject().value(QStringLiteral("index")).toInt();
        for (const QJsonValue &field : value.toObject().value(QStringLiteral("fields")).toArray())
            item.fields.append(field.toString());
        report.items.append(item);
    }
    report.visit = entriesFromJson(json.value(QStringLiteral("visit")));
    report.from = QDate::fromString(json.value(QStringLiteral("from")).toString(), Qt::ISODate);
    report.to = QDate::fromString(json.value(QStringLiteral("to")).toString(), Qt::ISODate);
    report.rangeWrites = entriesFromJson(json.value(QStringLiteral("range_writes")));
    for (const QJsonValue &line : json.value(QStringLiteral("history")).toArray())
        report.historyLines.append(line.toString());
    return report;
}

ServiceReport collectServiceReport(const KnownMeterValues &values, const LinkSettings &link, const QDate &from,
    const QDate &to, const QStringList &historyLines, const QString &journalPath)
{
    ServiceReport report;
    report.connection = link.targetText();
    report.model = values.model();
    report.deviceName = values.deviceName();
    report.created = QDateTime::currentDateTime();
    for (int index = 0; index < 256; ++index) {
        if (values.contains(index))
            report.items.append({ index, values.entry(index).fields });
    }
    const JournalReader journal(journalPath);
    const QDateTime today(report.created.date(), QTime(0, 0));
    report.visit = journal.entriesFor(link.describe(), link.deviceAddress, today, today.addDays(1));
    report.from = from;
    report.to = to;
    report.rangeWrites = journal.entriesFor(
        link.describe(), link.deviceAddress, QDateTime(from, QTime(0, 0)), QDateTime(to.addDays(1), QTime(0, 0)));
    report.historyLines = historyLines;
    return report;
}

QString serviceReportHtml(const ServiceReport &report)
{
    const QString none = ServiceReport::tr("—");
    QString html = QStringLiteral("<html><body>");
    html += QStringLiteral("<h2>%1</h2>").arg(ServiceReport::tr("服务报告").toHtmlEscaped());
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    const auto row = [&html, &none](const QString &name, const QString &value) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(name.toHtmlEscaped(), (value.isEmpty() ? none : value).toHtmlEscaped());
    };
    row(ServiceReport::tr("设备型号"), report.model);
    row(ServiceReport::tr("设备名称"), report.deviceName);
    row(ServiceReport::tr("连接"), report.connection);
    row(ServiceReport::tr("报告时间"), report.created.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    html += QStringLiteral("</table>");

    html += QStringLiteral("<h3>%1</h3>").arg(ServiceReport::tr("配置项（最后读取的值）").toHtmlEscaped());
    if (report.items.isEmpty()) {
        html += QStringLiteral("<p>%1</p>").arg(ServiceReport::tr("尚未读取配置项。").toHtmlEscaped());
    } else {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
        html += QStringLiteral("<tr>") + cell(ServiceReport::tr("序号")) + cell(ServiceReport::tr("名称"))
            + cell(ServiceReport::tr("值")) + QStringLiteral("</tr>");
        for (const ItemRecord &item : report.items)
            html += QStringLiteral("<tr>") + cell(QStringLiteral("%1").arg(item.index, 2, 10, QLatin1Char('0')))
                + cell(item.fields.value(0)) + cell(item.fields.value(1)) + QStringLiteral("</tr>");
        html += QStringLiteral("</table>");
    }

    html += QStringLiteral("<h3>%1</h3>").arg(ServiceReport::tr("本次维护的写入").toHtmlEscaped());
    QVector<JournalEntry> writes;
    QVector<JournalEntry> clock;
    for (const JournalEntry &entry : report.visit)
        (entry.index < 0 ? clock : writes).append(entry);
    if (writes.isEmpty()) {
        html += QStringLiteral("<p>%1</p>").arg(ServiceReport::tr("今天没有写入配置项。").toHtmlEscaped());
    } else {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
        html += QStringLiteral("<tr>") + cell(ServiceReport::tr("时间")) + cell(ServiceReport::tr("配置项"))
            + cell(ServiceReport::tr("原值 → 新值")) + cell(ServiceReport::tr("结果")) + QStringLiteral("</tr>");
        for (const JournalEntry &entry : qAsConst(writes))
            html += QStringLiteral("<tr>") + cell(entry.time.toLocalTime().toString(QStringLiteral("HH:mm:ss")))
                + cell(QStringLiteral("%1 %2").arg(entry.index, 2, 10, QLatin1Char('0')).arg(entry.name))
                + cell(QStringLiteral("%1 → %2").arg(entry.oldValue, entry.requestedValue)) + cell(entry.result)
                + QStringLiteral("</tr>");
        html += QStringLiteral("</table>");
    }
    html += QStringLiteral("<h3>%1</h3>").arg(ServiceReport::tr("时钟").toHtmlEscaped());
    if (clock.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(ServiceReport::tr("今天没有设置时钟。").toHtmlEscaped());
    for (const JournalEntry &entry : qAsConst(clock))
        html += QStringLiteral("<p>%1</p>").arg(journalEntryText(entry).toHtmlEscaped());

    html += QStringLiteral("<h3>%1</h3>")
                .arg(ServiceReport::tr("历史数据 %1 至 %2")
                         .arg(report.from.toString(Qt::ISODate), report.to.toString(Qt::ISODate))
                         .toHtmlEscaped());
    html += QStringLiteral("</body></html>");
    return html;
}

QStringList historyChartTitle(const QString &model, const QString &deviceName, const QString &connection,
    const QDate &from, const QDate &to, const QStringList &quantities)
{
    const QString none = ServiceReport::tr("—");
    QString joined;
    for (const QString &quantity : quantities)
        joined = joined.isEmpty() ? quantity : ServiceReport::tr("%1、%2").arg(joined, quantity);
    return { ServiceReport::tr("历史数据 %1 至 %2").arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)),
        ServiceReport::tr("设备型号: %1    设备名称: %2    连接: %3")
            .arg(model.isEmpty() ? none : model, deviceName.isEmpty() ? none : deviceName, connection),
        ServiceReport::tr("数据: %1").arg(quantities.isEmpty() ? none : joined) };
}

QString serviceReportFileName(const QDateTime &time)
{
    return QStringLiteral("service_report_%1.pdf").arg(time.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}
