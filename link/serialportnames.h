#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Names of the serial ports present on the machine ("COM3", "ttyUSB0").
QStringList availableSerialPortNames();

// Replaces the machine's port list, e.g. with fixed names where the machine
// has none; an empty function restores the real list.
void setSerialPortNamesSource(std::function<QStringList()> source);

// Sorted by length first and then by text, so COM2 comes before COM10;
// duplicates and empty names dropped.
QStringList orderedPortNames(QStringList names);
