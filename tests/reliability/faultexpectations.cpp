#include "tests/reliability/faultexpectations.h"

CellExpectation expectedCell(const FaultCell &cell)
{
    CellExpectation e;
    e.outcome = QStringLiteral("*");
    e.maxSeconds = cell.fault == QLatin1String("none") || cell.fault == QLatin1String("split") ? 8 : 30;
    if (cell.operation == QLatin1String("update"))
        e.maxSeconds = 60;
    return e;
}

bool outcomeMatches(const CellExpectation &expected, const QString &outcome)
{
    if (expected.outcome.endsWith(QLatin1Char('*')))
        return outcome.startsWith(expected.outcome.chopped(1));
    return outcome == expected.outcome;
}
