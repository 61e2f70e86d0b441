#pragma once

#include <QString>
#include <QStringList>

// A history record as the meter writes it, e.g.
// "2018-03-01 08:00:00,瞬时流量,12.50,m3/h": fields separated by commas, the
// first one the record's time.

// Columns the table shows at most; a line with more commas keeps the rest,
// commas included, in the last column.
constexpr int kMaxHistoryColumns = 16;

// The fields of one line split at commas, trimmed, empty ones kept, at most
// kMaxHistoryColumns. A line end (CR, LF) is not part of a field.
QStringList historyRecordFields(const QString &line);

// The record's time: a date (yyyy-MM-dd, also with / or . and without
// leading zeros), optionally followed by a blank or a T and a time
// (H:mm, H:mm:ss, H:mm:ss.zzz). The meter's wall-clock time, as milliseconds
// counted as if it were UTC, so that no daylight-saving gap or repeat of the
// PC's zone moves a record. False when the text is no such time.
bool parseHistoryTime(const QString &text, qint64 *msecs);

// A finite number in C notation (12.5, -3, 1e3), blanks around it allowed.
bool parseHistoryNumber(const QString &text, double *value);

// A quantity's name and unit as a header writes them: "瞬时流量(m3/h)" or with
// full-width brackets; without brackets the unit is empty.
void splitNameAndUnit(const QString &text, QString *name, QString *unit);
