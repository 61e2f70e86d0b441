#pragma once

#include "tests/reliability/faultcell.h"

// What a cell of the fault matrix must give.
struct CellExpectation
{
    QString outcome; // exact text, or a prefix when it ends with "*"
    int maxSeconds = 10;
    QString knownIssue; // non-empty: a fault found here, reported, not failing the suite
};

CellExpectation expectedCell(const FaultCell &cell);
bool outcomeMatches(const CellExpectation &expected, const QString &outcome);
