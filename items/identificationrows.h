#pragma once

#include <QString>

// The rows by which a meter names itself, recognised by the item's name as
// the meter sends it. Some firmware sends the model row as "model".
bool isModelRowName(const QString &name);
bool isDeviceNameRowName(const QString &name);
