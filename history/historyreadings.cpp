#include "history/historyreadings.h"

#include "history/historyrecord.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

enum class FieldKind { Empty, Number, Compound, Text };

struct Field
{
    FieldKind kind = FieldKind::Empty;
    double value = 0;
    QString name; // Compound: the words before the number
    QString unit; // Compound: the words after it
};

Field classify(const QString &text)
{
    Field field;
    if (text.isEmpty())
        return field;
    if (parseHistoryNumber(text, &field.value)) {
        field.kind = FieldKind::Number;
        return field;
    }
    field.kind = FieldKind::Text;
    if (!text.contains(QLatin1Char(' ')) && !text.contains(QLatin1Char('\t')))
        return field;
    static const QRegularExpression kBlanks(QStringLiteral("\\s+"));
    const QStringList words = text.split(kBlanks, Qt::SkipEmptyParts);
    if (words.size() < 2)
        return field;
    for (int i = 0; i < words.size(); ++i) {
        if (parseHistoryNumber(words.at(i), &field.value)) {
            field.kind = FieldKind::Compound;
            field.name = words.mid(0, i).join(QLatin1Char(' '));
            field.unit = words.mid(i + 1).join(QLatin1Char(' '));
            return field;
        }
    }
    return field;
}

QString columnName(int column)
{
    return QCoreApplication::translate("HistoryReadings", "第%1列").arg(column + 1);
}

} // namespace

void HistoryReadings::clear()
{
    *this = HistoryReadings();
}

void HistoryReadings::noteHeader(const QStringList &fields)
{
    m_headerNames.clear();
    m_headerUnits.clear();
    for (const QString &field : fields) {
        QString name;
        QString unit;
        splitNameAndUnit(field, &name, &unit);
        m_headerNames.append(name);
        m_headerUnits.append(unit);
    }
}

void HistoryReadings::addLine(const QString &line)
{
    const QStringList texts = historyRecordFields(line);
    qint64 time = 0;
    if (!parseHistoryTime(texts.first(), &time)) {
        if (texts.size() >= 2) {
            bool anyNumber = false;
            for (int i = 1; i < texts.size() && !anyNumber; ++i)
                anyNumber = classify(texts.at(i)).kind != FieldKind::Text && !texts.at(i).isEmpty();
            if (!anyNumber)
                noteHeader(texts);
        }
        if (!texts.first().isEmpty() || texts.size() > 1)
            ++m_withoutTime;
        return;
    }
    QVector<Field> fields;
    fields.reserve(texts.size());
    for (const QString &text : texts)
        fields.append(classify(text));

    bool any = false;
    int usedAsUnit = -1;
    for (int i = 1; i < fields.size(); ++i) {
        const Field &field = fields.at(i);
        if (field.kind != FieldKind::Number && field.kind != FieldKind::Compound)
            continue;
        QString name;
        QString unit;
        if (field.kind == FieldKind::Compound) {
            name = field.name;
            unit = field.unit;
        } else if (i >= 2 && fields.at(i - 1).kind == FieldKind::Text && usedAsUnit != i - 1) {
            // "time,瞬时流量,12.50,m3/h": the text before names it, the text after is its unit.
            name = texts.at(i - 1);
            const bool unitFollows = i + 1 < fields.size() && fields.at(i + 1).kind == FieldKind::Text
                && !(i + 2 < fields.size() && fields.at(i + 2).kind == FieldKind::Number);
            if (unitFollows) {
                unit = texts.at(i + 1);
                usedAsUnit = i + 1;
            }
        }
        if (name.isEmpty()) {
            name = m_headerNames.value(i);
            if (unit.isEmpty())
                unit = m_headerUnits.value(i);
        }
        if (name.isEmpty())
            name = columnName(i);
        addReading(double(time), name, unit, field.value);
        any = true;
    }
    if (!any)
        ++m_withoutNumber;
}

void HistoryReadings::addReading(double time, const QString &name, const QString &unit, double value)
{
    const QString key = name + QChar(0x1F) + unit;
    auto found = m_seriesByKey.constFind(key);
    int index = 0;
    if (found != m_seriesByKey.constEnd()) {
        index = found.value();
    } else {
        if (m_series.size() >= kMaxSeries) {
            ++m_overCap;
            return;
        }
        index = m_series.size();
        m_seriesByKey.insert(key, index);
        HistorySeries series;
        series.name = name;
        series.unit = unit;
        m_series.append(series);
    }
    HistorySeries &series = m_series[index];
    series.times.append(time);
    series.values.append(value);
}

QVector<HistorySeries> HistoryReadings::sortedSeries() const
{
    QVector<HistorySeries> sorted = m_series;
    for (HistorySeries &series : sorted)
        sortSeriesByTime(series);
    return sorted;
}

bool HistoryReadings::timeSpan(double *first, double *last) const
{
    bool any = false;
    for (const HistorySeries &series : m_series) {
        for (double t : series.times) {
            if (!any || t < *first)
                *first = t;
            if (!any || t > *last)
                *last = t;
            any = true;
        }
    }
    return any;
}
