#include "history/historyrecord.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <cmath>

QStringList historyRecordFields(const QString &line)
{
    int end = line.size();
    while (end > 0 && (line.at(end - 1) == QLatin1Char('\n') || line.at(end - 1) == QLatin1Char('\r')))
        --end;
    QStringList fields;
    int start = 0;
    for (;;) {
        const int comma = fields.size() + 1 < kMaxHistoryColumns ? line.indexOf(QLatin1Char(','), start) : -1;
        if (comma < 0 || comma >= end) {
            fields.append(line.mid(start, end - start).trimmed());
            return fields;
        }
        fields.append(line.mid(start, comma - start).trimmed());
        start = comma + 1;
    }
}

namespace {

// Reads 1 to maxDigits digits at pos; -1 when there are none.
int readNumber(const QString &text, int &pos, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && text.at(pos).isDigit() && text.at(pos).unicode() < 128) {
        value = value * 10 + (text.at(pos).unicode() - '0');
        ++pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

bool expect(const QString &text, int &pos, QLatin1Char c)
{
    if (pos >= text.size() || text.at(pos) != c)
        return false;
    ++pos;
    return true;
}

} // namespace

bool parseHistoryTime(const QString &text, qint64 *msecs)
{
    const QString t = text.trimmed();
    int pos = 0;
    const int year = readNumber(t, pos, 4);
    if (year < 0 || pos != 4 || pos >= t.size())
        return false;
    const QChar separator = t.at(pos);
    if (separator != QLatin1Char('-') && separator != QLatin1Char('/') && separator != QLatin1Char('.'))
        return false;
    ++pos;
    const int month = readNumber(t, pos, 2);
    if (month < 0 || !expect(t, pos, QLatin1Char(separator.toLatin1())))
        return false;
    const int day = readNumber(t, pos, 2);
    const QDate date(year, month, day);
    if (day < 0 || !date.isValid())
        return false;
    QTime time(0, 0);
    if (pos < t.size()) {
        if (t.at(pos) != QLatin1Char(' ') && t.at(pos) != QLatin1Char('T'))
            return false;
        while (pos < t.size() && (t.at(pos) == QLatin1Char(' ') || t.at(pos) == QLatin1Char('T')))
            ++pos;
        const int hour = readNumber(t, pos, 2);
        if (hour < 0 || !expect(t, pos, QLatin1Char(':')))
            return false;
        const int minute = readNumber(t, pos, 2);
        int second = 0;
        int milli = 0;
        if (minute < 0)
            return false;
        if (expect(t, pos, QLatin1Char(':'))) {
            second = readNumber(t, pos, 2);
            if (second < 0)
                return false;
            if (expect(t, pos, QLatin1Char('.'))) {
                const int start = pos;
                milli = readNumber(t, pos, 3);
                if (milli < 0)
                    return false;
                for (int digits = pos - start; digits < 3; ++digits)
                    milli *= 10;
            }
        }
        if (pos != t.size())
            return false;
        time = QTime(hour, minute, second, milli);
        if (!time.isValid())
            return false;
    }
    *msecs = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    return true;
}

bool parseHistoryNumber(const QString &text, double *value)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

void splitNameAndUnit(const QString &text, QString *name, QString *unit)
{
    const QString t = text.trimmed();
    const bool closes = t.endsWith(QLatin1Char(')')) || t.endsWith(QChar(0xFF09));
    const int open = qMax(t.lastIndexOf(QLatin1Char('(')), t.lastIndexOf(QChar(0xFF08)));
    if (!closes || open <= 0) {
        *name = t;
        unit->clear();
        return;
    }
    *name = t.left(open).trimmed();
    *unit = t.mid(open + 1, t.size() - open - 2).trimmed();
}
