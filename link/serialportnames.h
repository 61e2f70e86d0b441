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

// Where the system keeps the stable names of serial adapters (links named
// after the adapter that lead to its device): /dev/serial/by-id. Tests point
// it at a folder of their own; an empty folder restores the system's.
QString serialByIdFolder();
void setSerialByIdFolder(const QString &folder);

// The link in that folder that leads to the same device as `port` (which may
// itself be a link), as a path; empty when there is none. An adapter that is
// unplugged and plugged back can come back under another device name but
// under the same link.
QString serialByIdPath(const QString &port);
