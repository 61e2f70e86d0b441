#pragma once

#include <QCoreApplication>

// The translation context of the command line's own texts.
class VexaCli
{
    Q_DECLARE_TR_FUNCTIONS(VexaCli)
};
