#pragma once

#include "items/itemcsv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// One item of the meter beside the same item of a file.
struct ItemComparisonRow
{
    enum class Result { Same, Different, OnlyInFile, OnlyInMeter, Command };

    int index = 0;
    QString name; // the meter's name; the file's when the meter has no such item
    QString fileName; // the file's name when it is another than the meter's
    QString meterValue;
    QString fileValue;
    Result result = Result::Same;

    // What the dialog, the report and vexa-cli count as a difference: a
    // command is never one, it has no value to differ.
    bool differs() const { return result != Result::Same && result != Result::Command; }
    // The name as shown: both when the file names the item otherwise.
    QString shownName() const;
};

// The meter's items (as last read) beside an item file's: every item of
// either side, the differing rows first, each part in index order. Values
// are compared trimmed, as the write review does; the identification rows
// like any other.
class ItemComparison
{
    Q_DECLARE_TR_FUNCTIONS(ItemComparison)

public:
    ItemComparison(const QVector<ItemRecord> &meter, const QVector<ItemRecord> &file);

    const QVector<ItemComparisonRow> &rows() const { return m_rows; }
    int differing() const { return m_differing; }
    int same() const { return m_same; }
    bool isEqual() const { return m_differing == 0; }
    // The model rows of both sides ("设备型号"/"model"); empty where a side has none.
    QString meterModel() const { return m_meterModel; }
    QString fileModel() const { return m_fileModel; }
    // Both name a model, and not the same one: the file is another meter's.
    bool modelsDiffer() const;

    // "n 项不同, m 项相同"
    QString summaryText() const;
    // The file's values of the differing rows that can be written: neither
    // the identification rows nor items the meter does not have.
    QVector<ItemRecord> differingFileRecords() const;

    static QString resultText(ItemComparisonRow::Result result);
    // The word of --json: same, different, only-in-file, only-in-meter, command.
    static QString resultWord(ItemComparisonRow::Result result);
    // 序号, 名称, 设备值, 文件值, 结果
    static QStringList columnTitles();
    // The table as CSV (UTF-8 with byte order mark, CRLF, RFC 4180): a first
    // line with the meter's connection and the time, the titles, the rows.
    // Text from the meter or the file is made inert for spreadsheets. Empty
    // on success, otherwise the message with the reason as a second line.
    QString exportReport(const QString &path, const QString &connection, const QDateTime &time) const;

private:
    QVector<ItemComparisonRow> m_rows;
    int m_differing = 0;
    int m_same = 0;
    QString m_meterModel;
    QString m_fileModel;
};
