#include "items/writeoutcome.h"

#include <QCoreApplication>
#include <QStringList>

QString writeOutcomeWord(WriteOutcome outcome)
{
    switch (outcome) {
    case WriteOutcome::Ok:
        return QStringLiteral("ok");
    case WriteOutcome::Refused:
        return QStringLiteral("refused");
    case WriteOutcome::Unknown:
        return QStringLiteral("unknown");
    case WriteOutcome::NotSent:
        break;
    }
    return QStringLiteral("not-sent");
}

QString withOutcomeLine(const QString &error, WriteOutcome outcome)
{
    if (outcome != WriteOutcome::Unknown)
        return error;
    QStringList lines = error.split(QLatin1Char('\n'));
    lines.insert(1, QCoreApplication::translate("MainWindow", "结果未知：设备可能已接受该值，请重新读取确认"));
    return lines.join(QLatin1Char('\n'));
}
