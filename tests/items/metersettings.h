#pragma once

#include "base/settings.h"
#include "sim/simrunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// Points the program's settings at a simulated meter.
inline void connectToMeter(const SimRunner &meter, bool udp)
{
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("device/address"), meter.address());
    settings->setValue(QStringLiteral("communicate/udp"), udp ? 1 : 0);
    if (udp) {
        settings->setValue(QStringLiteral("udp/address"), QStringLiteral("127.0.0.1"));
        settings->setValue(QStringLiteral("udp/port"), meter.udpPort());
    } else {
        settings->setValue(QStringLiteral("serial/port"), meter.ptyPath());
    }
}

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
