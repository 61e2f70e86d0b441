#include "items/writereview.h"

#include "base/settingskeys.h"
#include "items/itemvalue.h"

#include <QSettings>

QVector<ReviewRow> buildReviewRows(const QVector<ItemWriteRequest> &requests, const KnownMeterValues &known)
{
    QVector<ReviewRow> rows;
    rows.reserve(requests.size());
    for (const ItemWriteRequest &request : requests) {
        ReviewRow row;
        row.request = request;
        row.identification = KnownMeterValues::isIdentificationIndex(request.index);
        // An imported command line arrives with an empty value; the meter
        // itself reports commands without one.
        row.command = request.value.isEmpty() || (known.contains(request.index) && !known.hasValue(request.index));
        if (known.hasValue(request.index)) {
            row.meterValue = known.value(request.index);
            row.state = row.meterValue.trimmed() == request.value.trimmed() ? ReviewRow::State::Unchanged
                                                                            : ReviewRow::State::Changed;
        }
        if (!row.command)
            row.problem = itemValueProblem(request.name, request.value);
        row.checked
            = !row.identification && !row.command && row.problem.isEmpty() && row.state != ReviewRow::State::Unchanged;
        rows << row;
    }
    return rows;
}

ReviewSummary summarizeReview(const QVector<ReviewRow> &rows)
{
    ReviewSummary summary;
    for (const ReviewRow &row : rows) {
        summary.toWrite += row.checked ? 1 : 0;
        summary.unchanged += row.state == ReviewRow::State::Unchanged ? 1 : 0;
        summary.unknown += row.state == ReviewRow::State::Unknown ? 1 : 0;
    }
    return summary;
}

bool readReviewBeforeWrite(const QSettings &settings)
{
    return settings.value(SettingsKey::kReviewBeforeWrite, true).toBool();
}

void writeReviewBeforeWrite(QSettings &settings, bool review)
{
    settings.setValue(SettingsKey::kReviewBeforeWrite, review);
}

bool readBackupBeforeWrite(const QSettings &settings)
{
    return settings.value(SettingsKey::kBackupBeforeWrite, true).toBool();
}

void writeBackupBeforeWrite(QSettings &settings, bool backup)
{
    settings.setValue(SettingsKey::kBackupBeforeWrite, backup);
}
