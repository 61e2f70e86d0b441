#include "sim/simchaos.h"

#include <QRegularExpression>

namespace {

struct RateKey
{
    const char *name;
    double SimChaos::Rates::*rate;
};

const RateKey kRateKeys[] = {
    { "late", &SimChaos::Rates::late },
    { "copy", &SimChaos::Rates::copy },
    { "defer", &SimChaos::Rates::defer },
    { "fragment", &SimChaos::Rates::fragment },
    { "noise", &SimChaos::Rates::noise },
    { "lose-answer", &SimChaos::Rates::loseAnswer },
    { "lose-request", &SimChaos::Rates::loseRequest },
    { "bad-crc", &SimChaos::Rates::badCrc },
    { "refuse", &SimChaos::Rates::refuse },
    { "lie", &SimChaos::Rates::lie },
};

struct BehaviourName
{
    SimWriteBehaviour behaviour;
    const char *name;
};

const BehaviourName kBehaviourNames[] = {
    { SimWriteBehaviour::Refuse, "refuse" },
    { SimWriteBehaviour::KeepOther, "keep-other" },
    { SimWriteBehaviour::AnswerThenApply, "answer-then-apply" },
    { SimWriteBehaviour::AnswerWithoutApplying, "answer-without-applying" },
};

quint64 splitMix(quint64 &state)
{
    state += 0x9E3779B97F4A7C15ULL;
    quint64 z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

QByteArray fixedNoise(int count)
{
    QByteArray noise;
    for (int i = 0; i < count; ++i)
        noise.append(static_cast<char>(0xA5 ^ (i * 0x3B)));
    return noise;
}

// Applies one scripted action; false when it is not one.
bool applyAction(const QString &action, SimChaosPlan &plan)
{
    const int equals = action.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? action : action.left(equals);
    const QString value = equals < 0 ? QString() : action.mid(equals + 1);
    bool ok = true;
    const auto number = [&](int fallback) {
        if (value.isEmpty())
            return fallback;
        const int n = value.toInt(&ok);
        ok = ok && n >= 0;
        return n;
    };
    if (name == QLatin1String("lose-request")) {
        plan.loseRequest = true;
    } else if (name == QLatin1String("lose-answer")) {
        plan.loseAnswer = true;
    } else if (name == QLatin1String("bad-crc")) {
        plan.badCrc = true;
    } else if (name == QLatin1String("late")) {
        plan.lateMs = number(3500);
    } else if (name == QLatin1String("copy")) {
        plan.copyDelayMs = number(0);
    } else if (name == QLatin1String("copy-next")) {
        plan.copyAtRequest = qMax(1, number(1));
    } else if (name == QLatin1String("defer")) {
        plan.deferToRequest = qMax(1, number(1));
    } else if (name == QLatin1String("noise-before")) {
        plan.noiseBefore = fixedNoise(qMax(1, number(4)));
    } else if (name == QLatin1String("noise-after")) {
        plan.noiseAfter = fixedNoise(qMax(1, number(4)));
    } else if (name == QLatin1String("fragments")) {
        // fragments=N or fragments=N/GAP
        const QStringList parts = value.split(QLatin1Char('/'));
        plan.fragments = parts.value(0).toInt(&ok);
        plan.fragmentGapMs = parts.size() > 1 ? parts.at(1).toInt() : 20;
        ok = ok && plan.fragments >= 2;
    } else {
        bool known = false;
        for (const BehaviourName &entry : kBehaviourNames) {
            if (name == QLatin1String(entry.name)) {
                plan.write = entry.behaviour;
                known = true;
            }
        }
        return known;
    }
    return ok;
}

} // namespace

QStringList SimChaosPlan::describe() const
{
    QStringList actions;
    if (loseRequest)
        actions << QStringLiteral("lose-request");
    for (const BehaviourName &entry : kBehaviourNames) {
        if (entry.behaviour == write)
            actions << QLatin1String(entry.name);
    }
    if (loseAnswer)
        actions << QStringLiteral("lose-answer");
    if (badCrc)
        actions << QStringLiteral("bad-crc");
    if (!noiseBefore.isEmpty())
        actions << QStringLiteral("noise-before=%1").arg(noiseBefore.size());
    if (!noiseAfter.isEmpty())
        actions << QStringLiteral("noise-after=%1").arg(noiseAfter.size());
    if (lateMs > 0)
        actions << QStringLiteral("late=%1").arg(lateMs);
    if (fragments >= 2)
        actions << QStringLiteral("fragments=%1/%2").arg(fragments).arg(fragmentGapMs);
    if (copyDelayMs >= 0)
        actions << QStringLiteral("copy=%1").arg(copyDelayMs);
    if (copyAtRequest > 0)
        actions << QStringLiteral("copy-next=%1").arg(copyAtRequest);
    if (deferToRequest > 0)
        actions << QStringLiteral("defer=%1").arg(deferToRequest);
    return actions;
}

SimChaos SimChaos::parse(const QString &text, QString *error)
{
    auto fail = [error, &text](const QString &why) {
        if (error)
            *error = QStringLiteral("chaos '%1': %2").arg(text, why);
        return SimChaos();
    };
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    SimChaos chaos;
    bool ok = false;
    const QString seedText = parts.value(0).trimmed();
    chaos.seed = seedText.toULongLong(&ok, 0);
    if (!ok)
        return fail(QStringLiteral("expected a seed (a number) first"));
    static const QRegularExpression kStep(QStringLiteral("^([a-z]+)(?:\\[(\\d+)\\])?(?:#(\\d+))?:(.+)$"));
    for (int i = 1; i < parts.size(); ++i) {
        const int equals = parts.at(i).indexOf(QLatin1Char('='));
        if (equals < 0)
            return fail(QStringLiteral("expected key=value, got '%1'").arg(parts.at(i)));
        const QString key = parts.at(i).left(equals).trimmed();
        const QString value = parts.at(i).mid(equals + 1).trimmed();
        if (key == QLatin1String("at")) {
            const QRegularExpressionMatch match = kStep.match(value);
            if (!match.hasMatch())
                return fail(QStringLiteral("expected at=KIND[INDEX]#N:ACTION[:ACTION...], got '%1'").arg(value));
            Step step;
            step.kind = match.captured(1);
            step.index = match.captured(2).isEmpty() ? -1 : match.captured(2).toInt();
            step.occurrence = match.captured(3).toInt();
            for (const QString &action : match.captured(4).split(QLatin1Char(':'))) {
                if (!applyAction(action, step.plan))
                    return fail(QStringLiteral("unknown action '%1'").arg(action));
            }
            chaos.steps << step;
            continue;
        }
        if (key == QLatin1String("long")) {
            if (value != QLatin1String("wrap") && value != QLatin1String("refuse"))
                return fail(QStringLiteral("long=wrap|refuse"));
            chaos.wrapLongAnswers = value == QLatin1String("wrap");
            continue;
        }
        if (key == QLatin1String("text")) {
            if (value != QLatin1String("strict") && value != QLatin1String("codec"))
                return fail(QStringLiteral("text=strict|codec"));
            chaos.strictText = value == QLatin1String("strict");
            continue;
        }
        const double number = value.toDouble(&ok);
        if (!ok || number < 0)
            return fail(QStringLiteral("bad value for '%1'").arg(key));
        if (key == QLatin1String("scale")) {
            for (const RateKey &entry : kRateKeys)
                chaos.rates.*entry.rate *= number;
            continue;
        }
        bool known = false;
        for (const RateKey &entry : kRateKeys) {
            if (key == QLatin1String(entry.name)) {
                chaos.rates.*entry.rate = qMin(1.0, number);
                known = true;
            }
        }
        if (!known)
            return fail(QStringLiteral("unknown key '%1'").arg(key));
    }
    if (error)
        error->clear();
    return chaos;
}

QString SimChaos::toString() const
{
    QString text = QString::number(seed);
    const Rates defaults;
    for (const RateKey &entry : kRateKeys) {
        if (rates.*entry.rate != defaults.*entry.rate)
            text += QStringLiteral(",%1=%2").arg(QLatin1String(entry.name)).arg(rates.*entry.rate);
    }
    if (!wrapLongAnswers)
        text += QStringLiteral(",long=refuse");
    if (!strictText)
        text += QStringLiteral(",text=codec");
    for (const Step &step : steps) {
        text += QStringLiteral(",at=") + step.kind;
        if (step.index >= 0)
            text += QStringLiteral("[%1]").arg(step.index);
        text += QStringLiteral("#%1:").arg(step.occurrence) + step.plan.describe().join(QLatin1Char(':'));
    }
    return text;
}

QString SimChaos::helpText()
{
    return QStringLiteral(
        "SEED[,key=value...]: a seeded chaotic meter; the same seed and the same requests replay the same "
        "episode. Each answer may be late (100-400 ms, 0.6-1.5 s or 3.1-4.5 s), copied (0-1.5 s later, or "
        "when one of the next two requests arrives), held until one of the next three requests arrives, cut "
        "in 2-4 pieces, wrapped in 1-8 noise bytes, lost, or sent with a broken CRC; a request may be lost "
        "(the meter never acts); a write may be refused, kept as another value, or answered with a lie "
        "(old value answered then the new one kept; new value answered, old one kept). Rates (0..1): "
        "late=0.03 copy=0.03 defer=0.02 fragment=0.04 noise=0.02 lose-answer=0.015 lose-request=0.015 "
        "bad-crc=0.015 refuse=0.05 lie=0.02; scale=F multiplies them all (scale=0: only scripted steps). "
        "long=wrap|refuse (default wrap: values up to 254 bytes are kept and answered with the length byte "
        "wrapped), text=strict|codec (default strict: bytes outside GB2312 are stored as '?'). "
        "at=KIND[INDEX]#N:ACTION[:ACTION...] scripts the N-th request (from 0) of KIND read, write, clock, "
        "switch, identify, erase, page, finish, history or any; actions lose-request, lose-answer, bad-crc, "
        "late=MS, copy=MS, copy-next=N, defer=N, noise-before=N, noise-after=N, fragments=N/GAP, refuse, "
        "keep-other, answer-then-apply, answer-without-applying. Example: 7,scale=0,at=erase#0:copy-next,"
        "at=page#0:lose-request.");
}

void SimChaos::restart(quint64 newSeed)
{
    seed = newSeed;
    m_ordinal = 0;
    m_seen.clear();
}

QString SimChaos::kindOf(const SimRequest &request, int *index)
{
    int at = -1;
    QString kind = QStringLiteral("other");
    if (request.family == SimRequest::AddressFrame) {
        if (request.isItemRead()) {
            kind = QStringLiteral("read");
            at = request.index;
        } else if (request.isItemWrite()) {
            kind = request.index == SimCommand::DebugSwitchIndex ? QStringLiteral("switch") : QStringLiteral("write");
            at = request.index;
        } else if (request.isClockWrite()) {
            kind = QStringLiteral("clock");
        }
    } else {
        switch (request.tildeCommand()) {
        case SimCommand::Identify:
            kind = QStringLiteral("identify");
            break;
        case SimCommand::Erase:
            kind = QStringLiteral("erase");
            break;
        case SimCommand::Page:
            kind = QStringLiteral("page");
            at = request.tildeBody().isEmpty() ? -1 : quint8(request.tildeBody().at(0));
            break;
        case SimCommand::Finish:
            kind = QStringLiteral("finish");
            break;
        case SimCommand::History:
            kind = QStringLiteral("history");
            break;
        default:
            break;
        }
    }
    if (index)
        *index = at;
    return kind;
}

SimChaosPlan SimChaos::decide(const SimRequest &request)
{
    int index = -1;
    const QString kind = kindOf(request, &index);
    const int ordinal = m_ordinal++;
    const int seenKind = m_seen[kind]++;
    const int seenIndexed = index >= 0 ? m_seen[QStringLiteral("%1[%2]").arg(kind).arg(index)]++ : -1;

    SimChaosPlan scripted;
    bool matched = false;
    for (const Step &step : qAsConst(steps)) {
        bool hit = false;
        if (step.kind == QLatin1String("any"))
            hit = step.occurrence == ordinal;
        else if (step.kind == kind)
            hit = step.index < 0 ? step.occurrence == seenKind : step.index == index && step.occurrence == seenIndexed;
        if (!hit)
            continue;
        for (const QString &action : step.plan.describe())
            applyAction(action, scripted);
        matched = true;
    }
    if (matched)
        return scripted;

    // One generator per request, from the seed and the request's number: a
    // request's draw does not depend on how much earlier ones drew.
    quint64 state = seed ^ ((quint64(ordinal) + 1) * 0xD1B54A32D192ED03ULL);
    const auto unit = [&state] {
        return double(splitMix(state) >> 11) * (1.0 / 9007199254740992.0);
    };
    const auto chance = [&unit](double p) {
        return unit() < p;
    };
    const auto pick = [&state](int low, int high) {
        return low + int(splitMix(state) % quint64(high - low + 1));
    };

    SimChaosPlan plan;
    if (chance(rates.loseRequest)) {
        plan.loseRequest = true;
        return plan;
    }
    if (kind == QLatin1String("write") || kind == QLatin1String("clock")) {
        const double roll = unit();
        if (roll < rates.refuse) {
            plan.write = SimWriteBehaviour::Refuse;
        } else if (kind == QLatin1String("write") && roll < rates.refuse + rates.lie) {
            const SimWriteBehaviour lies[] = { SimWriteBehaviour::KeepOther, SimWriteBehaviour::AnswerThenApply,
                SimWriteBehaviour::AnswerWithoutApplying };
            plan.write = lies[pick(0, 2)];
        }
    }
    if (chance(rates.loseAnswer)) {
        plan.loseAnswer = true;
        return plan;
    }
    if (chance(rates.late)) {
        // Within the settle windows, past them, or past a first read's 3 s.
        const int band = pick(0, 2);
        plan.lateMs = band == 0 ? pick(100, 400) : band == 1 ? pick(600, 1500) : pick(3100, kMaxLateMs);
    }
    if (chance(rates.fragment)) {
        plan.fragments = pick(2, kMaxFragments);
        plan.fragmentGapMs = chance(0.8) ? pick(5, 150) : pick(300, kMaxFragmentGapMs);
    }
    if (chance(rates.noise)) {
        const int side = pick(0, 2);
        QByteArray noise;
        for (int i = pick(1, 8); i > 0; --i)
            noise.append(static_cast<char>(splitMix(state) & 0xFF));
        if (side != 1)
            plan.noiseBefore = noise;
        if (side != 0)
            plan.noiseAfter = noise;
    }
    // The history answer is text without a frame: a CRC would change a letter.
    if (chance(rates.badCrc) && kind != QLatin1String("history"))
        plan.badCrc = true;
    if (chance(rates.copy)) {
        if (pick(0, 1) == 0)
            plan.copyDelayMs = pick(0, kMaxCopyDelayMs);
        else
            plan.copyAtRequest = pick(1, 2);
    }
    if (chance(rates.defer))
        plan.deferToRequest = pick(1, 3);
    return plan;
}

QList<SimOutput> SimChaos::spoil(const SimChaosPlan &plan, const QList<SimOutput> &outputs)
{
    if (plan.loseRequest || plan.loseAnswer || outputs.isEmpty())
        return {};
    QList<SimOutput> spoilt = outputs;
    if (plan.badCrc) {
        for (SimOutput &out : spoilt) {
            QByteArray &bytes = out.bytes;
            const bool tilde = bytes.size() >= 5 && quint8(bytes.at(0)) == 0x7E && quint8(bytes.back()) == 0x7F;
            const int at = tilde ? bytes.size() - 2 : bytes.size() - 1;
            if (at >= 0)
                bytes[at] = static_cast<char>(bytes.at(at) ^ 0x5A);
        }
    }
    spoilt.first().bytes.prepend(plan.noiseBefore);
    spoilt.last().bytes.append(plan.noiseAfter);
    if (plan.lateMs > 0) {
        for (SimOutput &out : spoilt)
            out.delayMs += plan.lateMs;
    }
    if (plan.fragments >= 2) {
        QList<SimOutput> pieces;
        int shift = 0;
        for (const SimOutput &out : qAsConst(spoilt)) {
            const int size = qMax(1, (out.bytes.size() + plan.fragments - 1) / plan.fragments);
            int piece = 0;
            for (int at = 0; at < out.bytes.size(); at += size, ++piece) {
                SimOutput part = out;
                part.bytes = out.bytes.mid(at, size);
                part.delayMs = out.delayMs + shift + piece * plan.fragmentGapMs;
                pieces << part;
            }
            shift += qMax(0, piece - 1) * plan.fragmentGapMs;
        }
        spoilt = pieces;
    }
    if (plan.copyDelayMs >= 0) {
        const QList<SimOutput> first = spoilt;
        for (SimOutput copy : first) {
            copy.delayMs += plan.copyDelayMs;
            spoilt << copy;
        }
    }
    return spoilt;
}
