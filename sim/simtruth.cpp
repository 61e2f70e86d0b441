#include "sim/simtruth.h"

#include "sim/metersim.h"

#include <QCryptographicHash>
#include <QJsonArray>

SimTruth SimTruth::of(MeterSim &sim)
{
    SimTruth truth;
    const SimState &state = sim.state();
    truth.items = state.items;
    truth.commandsRun = state.commandsRun;
    truth.clockSet = state.clockSet;
    truth.clockSetCount = state.clockSetCount;
    truth.firmware = SimFirmwareRecord::fromState(state);
    truth.chaos = sim.chaosEvents();
    truth.requests = sim.receivedRequests().size();
    return truth;
}

QJsonObject SimTruth::toJson() const
{
    QJsonArray itemList;
    for (int i = 0; i < items.size(); ++i)
        itemList << QJsonObject { { QStringLiteral("index"), i }, { QStringLiteral("text"), items.at(i).text() } };
    QJsonArray pageList;
    for (auto it = firmware.pages.cbegin(); it != firmware.pages.cend(); ++it) {
        pageList << QJsonObject { { QStringLiteral("page"), it.key() }, { QStringLiteral("bytes"), it.value().size() },
            { QStringLiteral("md5"),
                QString::fromLatin1(QCryptographicHash::hash(it.value(), QCryptographicHash::Md5).toHex()) } };
    }
    QJsonArray chaosList;
    for (const SimChaosEvent &event : chaos) {
        chaosList << QJsonObject { { QStringLiteral("ordinal"), event.ordinal },
            { QStringLiteral("request"), event.request },
            { QStringLiteral("actions"), QJsonArray::fromStringList(event.actions) } };
    }
    return QJsonObject {
        { QStringLiteral("items"), itemList },
        { QStringLiteral("commandsRun"), QJsonArray::fromStringList(commandsRun) },
        { QStringLiteral("clock"),
            QJsonObject { { QStringLiteral("set"),
                              clockSet.isValid() ? QJsonValue(clockSet.toString(Qt::ISODate)) : QJsonValue() },
                { QStringLiteral("count"), clockSetCount } } },
        { QStringLiteral("firmware"),
            QJsonObject { { QStringLiteral("eraseCount"), firmware.eraseCount },
                { QStringLiteral("eraseSize"), double(firmware.eraseSize) }, { QStringLiteral("pages"), pageList },
                { QStringLiteral("finishCount"), firmware.finishCount } } },
        { QStringLiteral("chaos"), chaosList },
        { QStringLiteral("requests"), requests },
    };
}
