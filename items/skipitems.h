#pragma once

#include <QMap>
#include <QSet>
#include <QString>

// Device name or model text -> model texts hidden together with it.
using SkipMap = QMap<QString, QSet<QString>>;

// Removes every blank anywhere in the text, then trims the rest.
QString normalizeSkipText(const QString &text);

// Reads the skip file; a missing or unreadable file gives an empty map.
SkipMap loadSkipFile(const QString &path);
