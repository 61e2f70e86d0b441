#pragma once

#include "sim/simrunner.h"
#include "tests/support/meterlink.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

inline SimTransportOptions meterTransports()
{
    SimTransportOptions options;
    options.pty = true;
    return options;
}

// A meter at address 1 holding the given item texts.
inline SimProfile meterWithItems(const QStringList &texts)
{
    QJsonObject json { { QStringLiteral("address"), 1 },
        { QStringLiteral("items"), QJsonArray::fromStringList(texts) } };
    return SimProfile::fromJson(QJsonDocument(json).toJson());
}
