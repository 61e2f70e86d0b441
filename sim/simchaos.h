#pragma once

#include "sim/simfault.h"
#include "sim/simrequest.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What the meter does with a write it received (an item or the clock).
enum class SimWriteBehaviour {
    Honest, // keeps the value if it can and answers what it holds
    Refuse, // keeps the old value and answers it
    KeepOther, // keeps a value other than the one asked for and answers it
    AnswerThenApply, // answers the old value, then keeps the new one (a lie)
    AnswerWithoutApplying, // answers the new value, keeps the old one (a lie)
};

// The misbehaviours chosen for one request. Fully determined when made, so
// a plan replays byte for byte.
struct SimChaosPlan
{
    bool loseRequest = false; // never reaches the meter: no effect, no answer
    bool loseAnswer = false; // the meter acts, the answer is lost
    int lateMs = 0;
    int fragments = 0; // 2 or more: the answer goes out in that many pieces
    int fragmentGapMs = 0;
    QByteArray noiseBefore;
    QByteArray noiseAfter;
    bool badCrc = false;
    int copyDelayMs = -1; // >= 0: a copy goes out this much later
    int copyAtRequest = 0; // > 0: a copy goes out when the n-th later request arrives
    int deferToRequest = 0; // > 0: the answer is held until the n-th later request arrives
    SimWriteBehaviour write = SimWriteBehaviour::Honest;

    bool isClean() const { return describe().isEmpty(); }
    // One short text per misbehaviour, for logs and violation reports.
    QStringList describe() const;
    // True when the answer the program may take says something else than the
    // meter holds afterwards.
    bool isLyingWrite() const
    {
        return write == SimWriteBehaviour::AnswerThenApply || write == SimWriteBehaviour::AnswerWithoutApplying;
    }
};

// One request that met chaos: its number in the episode, what it was and what happened.
struct SimChaosEvent
{
    int ordinal = 0;
    QString request; // "read[5]", "write[9]", "clock", "erase", "page[0]" ...
    QStringList actions;
};

// A seeded chaotic meter: for every request it draws misbehaviours from the
// rates below, from a generator seeded by the seed and the request's number
// in the episode, so the same seed and the same requests give the same
// episode. Scripted steps ("at=") replace the draw for the requests they name.
class SimChaos
{
public:
    struct Rates
    {
        double late = 0.03;
        double copy = 0.03;
        double defer = 0.02;
        double fragment = 0.04;
        double noise = 0.02;
        double loseAnswer = 0.015;
        double loseRequest = 0.015;
        double badCrc = 0.015;
        double refuse = 0.05; // writes only
        double lie = 0.02; // writes only: another value kept, or a lying answer
    };
    struct Step
    {
        QString kind; // as SimChaos::kindOf names it
        int index = -1; // item index or page number; -1: any
        int occurrence = 0; // the n-th matching request of the episode, from 0
        SimChaosPlan plan;
    };

    // The longest draws: what a bound on waiting for this meter must allow.
    static constexpr int kMaxLateMs = 4500;
    static constexpr int kMaxCopyDelayMs = 1500;
    static constexpr int kMaxFragments = 4;
    static constexpr int kMaxFragmentGapMs = 700;

    quint64 seed = 0;
    Rates rates;
    QList<Step> steps;
    // The meter model behind chaos: it keeps values up to what the write frame
    // carries and answers them with its one-byte length wrapped, and it
    // stores only proper GB2312 (other bytes become '?').
    bool wrapLongAnswers = true;
    bool strictText = true;

    // "SEED[,key=value...]"; see helpText. Empty error on success.
    static SimChaos parse(const QString &text, QString *error = nullptr);
    QString toString() const;
    static QString helpText();

    // Starts an episode: counts requests from 0 again under a new seed.
    void restart(quint64 newSeed);
    // The plan for the next request; counts it.
    SimChaosPlan decide(const SimRequest &request);
    int requestsSeen() const { return m_ordinal; }

    // "read", "write", "clock", "switch", "identify", "erase", "page",
    // "finish", "history" or "other", and the item index or page number.
    static QString kindOf(const SimRequest &request, int *index = nullptr);
    // The answers as they leave the meter under the plan; copies and held
    // answers that wait for later requests are the caller's.
    static QList<SimOutput> spoil(const SimChaosPlan &plan, const QList<SimOutput> &outputs);

private:
    SimChaosPlan draw(const SimRequest &request, const QString &kind) const;

    int m_ordinal = 0;
    QHash<QString, int> m_seen;
};
