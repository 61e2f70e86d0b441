#pragma once

#include "tests/reliability/soakepisode.h"

#include <QString>

// How long an operation may take at most, from the program's time-outs; the
// one table of the soak (docs/reliability.md shows it as soakBoundsTable prints it).
qint64 soakBoundMs(const SoakOperation &operation, int itemCount);
QString soakBoundsTable(int itemCount);
