#pragma once

#include <QCoreApplication>

// The translation context of the fleet's texts (meters files, fleet runs),
// shared by the window and the command line.
class FleetText
{
    Q_DECLARE_TR_FUNCTIONS(FleetText)
};
