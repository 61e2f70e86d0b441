#include "sim/historyresponder.h"

#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simprofile.h"
#include "sim/simstate.h"

#include <QJsonArray>
#include <QMap>

#include <cmath>

namespace {

// Bytes 0..9 of a valid request, before the dates.
const QByteArray &requestHead()
{
    static const QByteArray kHead = simFromHex(QStringLiteral("7E 05 02 4E 9F 00 07 91 00 04"));
    return kHead;
}

QDate dateAt(const QByteArray &bytes, int offset)
{
    const auto byte = [&](int i) {
        return static_cast<quint8>(bytes.at(offset + i));
    };
    return QDate(2000 + byte(0), byte(1), byte(2));
}

// Deterministic noise in [-1, 1] for one time stamp, so a record always reads
// the same whatever range it is asked in.
double noise(qint64 key)
{
    quint64 x = static_cast<quint64>(key) * 0x9E3779B97F4A7C15ULL;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 29;
    return static_cast<double>(x % 20001) / 10000.0 - 1.0;
}

void generate(
    const QJsonObject &cfg, const QDate &start, const QDate &end, const QDateTime &now, QMap<QString, QString> &lines)
{
    QDate from = QDate::fromString(cfg.value(QStringLiteral("from")).toString(), Qt::ISODate);
    QDate to = QDate::fromString(cfg.value(QStringLiteral("to")).toString(), Qt::ISODate);
    QDateTime stop;
    if (cfg.contains(QStringLiteral("days"))) {
        // A log that runs up to the meter's present moment, not beyond.
        to = now.date();
        from = to.addDays(1 - cfg.value(QStringLiteral("days")).toInt());
        stop = now;
    }
    if (!from.isValid() || !to.isValid() || from > to)
        return;
    const int everyMinutes = qMax(1, cfg.value(QStringLiteral("everyMinutes")).toInt(60));
    const double flowBase = cfg.value(QStringLiteral("flowBase")).toDouble(120.0);
    const double flowSwing = cfg.value(QStringLiteral("flowSwing")).toDouble(15.0);
    const double temperatureBase = cfg.value(QStringLiteral("temperatureBase")).toDouble(22.0);
    double total = cfg.value(QStringLiteral("totalStart")).toDouble(10000.0);

    const QDate last = qMin(to, end);
    if (!stop.isValid() || stop.date() > last)
        stop = QDateTime(last.addDays(1), QTime(0, 0));
    const double pi = 3.14159265358979;
    // The total runs on from the generator's first day, whatever was asked.
    for (QDateTime t(from, QTime(0, 0)); t <= stop && t.date() <= last; t = t.addSecs(60LL * everyMinutes)) {
        const qint64 key = t.toSecsSinceEpoch();
        const double dayPhase = (t.time().msecsSinceStartOfDay() / 86400000.0) * 2 * pi;
        const double flow = qMax(0.0, flowBase + flowSwing * std::sin(dayPhase - pi / 2) + 2.0 * noise(key));
        total += flow * everyMinutes / 60.0;
        if (t.date() < start)
            continue;
        const double temperature = temperatureBase + 4.0 * std::sin(dayPhase - 2.0) + 0.3 * noise(key + 1);
        const QString stamp = t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        lines.insert(stamp,
            QStringLiteral("%1,%2,%3,%4")
                .arg(stamp)
                .arg(flow, 0, 'f', 2)
                .arg(total, 0, 'f', 1)
                .arg(temperature, 0, 'f', 1));
    }
}

int setting(const SimState &state, const QJsonObject &cfg, const QString &key, int fallback)
{
    const QVariant runtime = state.extra.value(QStringLiteral("history/") + key);
    if (runtime.isValid())
        return runtime.toInt();
    return cfg.value(key).toInt(fallback);
}

class HistoryResponder : public SimResponder
{
public:
    const char *name() const override { return "history"; }

    bool handle(const SimRequest &request, SimContext &context) override
    {
        if (request.family != SimRequest::TildeFrame || request.tildeCommand() != SimCommand::History)
            return false;
        SimState &state = context.state();
        const QByteArray &bytes = request.bytes;
        const QDate start = bytes.size() == 19 ? dateAt(bytes, 10) : QDate();
        const QDate end = bytes.size() == 19 ? dateAt(bytes, 13) : QDate();
        if (!bytes.startsWith(requestHead()) || !start.isValid() || !end.isValid()) {
            state.extra[QStringLiteral("history/refused")]
                = state.extra.value(QStringLiteral("history/refused")).toInt() + 1;
            return true; // the real meter stays silent on a malformed request
        }
        state.extra[QStringLiteral("history/requests")]
            = state.extra.value(QStringLiteral("history/requests")).toInt() + 1;
        state.extra[QStringLiteral("history/start")] = start;
        state.extra[QStringLiteral("history/end")] = end;

        const QJsonObject cfg = context.profile().section(QStringLiteral("history"));
        const QString lineEnd = cfg.value(QStringLiteral("lineEnd")).toString(QStringLiteral("\r\n"));
        QByteArray answer;
        for (const QString &line : simHistoryLines(cfg, start, end, state.now()))
            answer += simEncodeText(line + lineEnd);

        const int pieceBytes = qMax(1, setting(state, cfg, QStringLiteral("pieceBytes"), 256));
        const int pieceDelay = qMax(0, setting(state, cfg, QStringLiteral("pieceDelayMs"), 10));
        QList<QByteArray> pieces;
        for (int at = 0; at < answer.size(); at += pieceBytes)
            pieces.append(answer.mid(at, pieceBytes));
        context.replyChunks(pieces, pieceDelay);
        return true;
    }
};

} // namespace

QStringList simHistoryLines(const QJsonObject &section, const QDate &start, const QDate &end, const QDateTime &now)
{
    QMap<QString, QString> byStamp; // sorted by date and time
    generate(section.value(QStringLiteral("generate")).toObject(), start, end, now, byStamp);
    for (const QJsonValue &value : section.value(QStringLiteral("records")).toArray()) {
        const QString line = value.toString();
        const QDate date = QDate::fromString(line.left(10), Qt::ISODate);
        if (date.isValid() && date >= start && date <= end)
            byStamp.insert(line.left(19), line);
    }
    QStringList lines;
    const QString header = section.value(QStringLiteral("header")).toString();
    if (!header.isEmpty())
        lines.append(header);
    lines.append(byStamp.values());
    return lines;
}

std::unique_ptr<SimResponder> makeHistoryResponder()
{
    return std::make_unique<HistoryResponder>();
}
