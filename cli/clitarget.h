#pragma once

#include "fleet/targeturi.h"
#include "link/commsettings.h"

#include <QString>
#include <QStringList>
#include <QVector>

// One meter the command line talks to.
struct CliTarget
{
    QString name;
    LinkSettings link;
};

// A fleet file (see fleet/meterlist.h). Lines that cannot be read are left
// out with their line number and reason in `problems`; the rest are served.
// Empty on success (even with problems), otherwise the message that ends the
// run: no file, or no meter in it.
QString readTargetsFile(const QString &path, QVector<CliTarget> *targets, QStringList *problems, bool *fileMissing);
