#pragma once

#include "link/linkfailure.h"

#include <QString>

// A link failure as the command line tells it. For one meter a time-out or a
// port that did not open names the target and what to check, as the window
// does; a fleet's summary line names the meter itself, so only a port's own
// reason is added there. An answer check is told in the language shown.
QString cliFailureText(const LinkFailure &failure, bool fleet);
