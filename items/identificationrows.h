#pragma once

#include "items/itemcsv.h"

#include <QString>

// The rows by which a meter names itself, recognised by the item's name as
// the meter sends it. Some firmware sends the model row as "model".
bool isModelRowName(const QString &name);
bool isDeviceNameRowName(const QString &name);

// What a meter's identification rows said, as its list was read.
struct MeterIdentity
{
    QString model;
    QString deviceName;

    // Takes the value of a model or device name row; other rows change nothing.
    void note(const ItemRecord &record);
};
