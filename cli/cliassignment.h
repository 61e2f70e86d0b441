#pragma once

#include "items/itemcsv.h"

#include <QString>
#include <QVector>

// One argument of `set`: INDEX=VALUE, or NAME=VALUE where NAME is an item's
// name or the start of one.
struct CliAssignment
{
    int index = -1; // the item index: given, or found from the name
    QString name; // as typed; empty in the index form
    QString value; // trimmed

    bool byName() const { return !name.isEmpty(); }
    bool isValid() const { return index >= 0 || byName(); }

    // Digits before "=" are an index (0..254); anything else a name.
    static CliAssignment parse(const QString &argument);

    // Finds the item the name stands for among the meter's items: one whose
    // name is the name typed, else (ignoring case) the one that starts with
    // it, or whose name without its choices in brackets is it. Empty on
    // success; otherwise why not, with the candidates when several fit.
    QString resolve(const QVector<ItemRecord> &items);
};
