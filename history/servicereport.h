#pragma once

#include "items/itemcsv.h"
#include "items/journal.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QStringList>
#include <QVector>

// What a service report says of one visit to a meter.
struct ServiceReport
{
    Q_DECLARE_TR_FUNCTIONS(ServiceReport)

public:
    QString connection; // as the status bar names it
    QString model; // the identification rows as last read
    QString deviceName;
    QDateTime created;
    QVector<ItemRecord> items; // as last read
    QVector<JournalEntry> visit; // this meter's journal lines of the day
    QDate from; // the history's range
    QDate to;
    QVector<JournalEntry> rangeWrites; // marks on the chart
    QStringList historyLines;

    // For the chart renderer of the command line.
    QJsonObject toJson() const;
    static ServiceReport fromJson(const QJsonObject &json);
};

class KnownMeterValues;
struct LinkSettings;

// The report of a visit now to the meter behind `link`: the items as
// `values` holds them, the journal's lines of today for that meter (the
// visit) and of the range (the chart's marks), and the history lines.
ServiceReport collectServiceReport(const KnownMeterValues &values, const LinkSettings &link, const QDate &from,
    const QDate &to, const QStringList &historyLines, const QString &journalPath = QStringLiteral("journal.csv"));

// The report's text pages (meter, items, visit) as HTML; the chart follows.
QString serviceReportHtml(const ServiceReport &report);

// The lines above a history chart: the range, the meter (model and device
// name rows, connection) and the quantities drawn.
QStringList historyChartTitle(const QString &model, const QString &deviceName, const QString &connection,
    const QDate &from, const QDate &to, const QStringList &quantities);

// "service_report_<yyyyMMdd-hhmmss>.pdf"
QString serviceReportFileName(const QDateTime &time);
