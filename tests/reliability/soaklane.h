#pragma once

#include "tests/reliability/soakjudge.h"

#include <QJsonObject>
#include <QMap>
#include <QStringList>

class SimRunner;
class SoakProgram;

// What one lane of a soak did: one meter on one line, episode after episode.
struct SoakLaneReport
{
    QString line; // udp or pty
    quint64 runSeed = 0;
    QString chaosKeys;
    int episodes = 0;
    int operations = 0;
    qint64 elapsedMs = 0;
    QStringList violations; // "episode ...: kind at step: ..." each, replayable
    QMap<QString, int> byKind;
    qint64 cliRssMinKb = -1; // peaks of the vexa-cli children
    qint64 cliRssMaxKb = -1;
    qint64 liveRssStartKb = -1; // this process after the first episodes, and its highest since
    qint64 liveRssMaxKb = -1;

    void add(const QString &episode, const SoakViolation &violation);
    QJsonObject toJson() const;
    static SoakLaneReport fromJson(const QJsonObject &object);
};

// Runs the episode on the meter from a fresh start and judges each operation;
// the report, if given, counts it.
QList<SoakViolation> runSoakEpisode(
    SimRunner &meter, SoakProgram &program, const SoakEpisode &episode, SoakLaneReport *report = nullptr);

// Random episodes from the run seed until the budget is spent (at least one).
SoakLaneReport runSoakLane(bool udp, quint64 runSeed, qint64 budgetMs, const QString &chaosKeys);

// Operations, violations by kind, seeds and RSS ranges of a whole soak.
QString soakSummary(const QList<SoakLaneReport> &lanes, qint64 wallMs);
