#include "tests/reliability/soakepisode.h"

#include "sim/historyresponder.h"
#include "sim/simframe.h"
#include "sim/simprofile.h"

#include <random>

namespace {

const char *const kKindNames[] = { "list", "write", "batch", "clock", "update", "history", "cli items", "cli set",
    "cli apply", "cli apply --dry-run", "cli clock", "cli flash", "cli history" };

// How often each kind is drawn, in the order of SoakOperation::Kind.
const int kKindWeights[] = { 8, 12, 8, 7, 4, 3, 7, 12, 8, 4, 7, 4, 3 };

class Draw
{
public:
    explicit Draw(quint64 seed)
        : m_engine(seed)
    {
    }
    int below(int n) { return int(m_engine() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937_64 m_engine; // the engine's sequence is fixed by the standard; distributions are not
};

QList<int> writableItems()
{
    QList<int> indices;
    const QList<SimItem> items = SimProfile::demo().items;
    for (int i = 0; i < items.size(); ++i) {
        if (!items.at(i).readOnly && !items.at(i).command)
            indices << i;
    }
    return indices;
}

// A value for the item: mostly one the meter takes, sometimes one it refuses,
// now and then one at or past what the meter can hold or answer.
QString valueFor(const SimItem &item, Draw &draw)
{
    const int roll = draw.below(100);
    if (roll < 6) {
        // "name:value" of 255 bytes fits the answer; one byte more does not.
        const int room = 255 - simEncodeText(item.name + QLatin1Char(':')).size();
        return QString(room + draw.below(2), QLatin1Char('7'));
    }
    if (roll < 10)
        return QStringLiteral("€%1").arg(draw.below(100)); // no GB2312
    const QStringList choices = item.options();
    if (!choices.isEmpty())
        return roll < 85 ? choices.at(draw.below(choices.size())) : QStringLiteral("9%1").arg(draw.below(1000));
    if (item.name.contains(QLatin1String("IP")) || item.name.contains(QLatin1String("网")))
        return QStringLiteral("10.%1.%2.%3").arg(draw.below(256)).arg(draw.below(256)).arg(1 + draw.below(254));
    if (roll < 20)
        return QStringLiteral("温度℃%1").arg(draw.below(10));
    return QString::number(draw.below(100000) / 100.0, 'f', draw.below(3));
}

QList<SoakWrite> drawWrites(Draw &draw, int count)
{
    const QList<SimItem> items = SimProfile::demo().items;
    QList<int> pool = writableItems();
    QList<SoakWrite> writes;
    while (writes.size() < count && !pool.isEmpty()) {
        const int index = pool.takeAt(draw.below(pool.size()));
        writes << SoakWrite { index, valueFor(items.at(index), draw) };
    }
    return writes;
}

} // namespace

bool SoakOperation::writesItems() const
{
    return kind == Write || kind == Batch || kind == CliSet || kind == CliApply;
}

bool SoakOperation::readsList() const
{
    return kind == List || kind == CliItems || kind == CliApply || kind == CliApplyDry;
}

QString SoakOperation::name() const
{
    return QLatin1String(kKindNames[kind]);
}

QString SoakOperation::text() const
{
    QString text = name();
    for (const SoakWrite &write : writes) {
        const QString value = write.value.size() > 24
            ? QStringLiteral("%1…(%2 chars)").arg(write.value.left(8)).arg(write.value.size())
            : write.value;
        text += QStringLiteral(" %1=%2").arg(write.index).arg(value);
    }
    if (imageBytes > 0)
        text += QStringLiteral(" image=%1").arg(imageBytes);
    return text;
}

QString SoakEpisode::text() const
{
    QStringList operationTexts;
    for (const SoakOperation &operation : operations)
        operationTexts << operation.text();
    return QStringLiteral("episode %1 %2 --chaos %3: %4")
        .arg(seed)
        .arg(udp ? QStringLiteral("udp") : QStringLiteral("pty"), chaos, operationTexts.join(QStringLiteral("; ")));
}

quint64 SoakEpisode::seedOf(quint64 runSeed, int episode)
{
    std::mt19937_64 engine(runSeed ^ (quint64(episode) * 0x9E3779B97F4A7C15ULL));
    return engine() % 1000000000000ULL; // short enough to type
}

SoakEpisode SoakEpisode::random(quint64 seed, bool udp, const QString &chaosKeys)
{
    SoakEpisode episode;
    episode.seed = seed;
    episode.udp = udp;
    episode.chaos = QString::number(seed) + chaosKeys;
    Draw draw(seed);
    int total = 0;
    for (const int weight : kKindWeights)
        total += weight;
    int roll = draw.below(total);
    int kind = 0;
    while (roll >= kKindWeights[kind])
        roll -= kKindWeights[kind++];
    SoakOperation operation;
    operation.kind = SoakOperation::Kind(kind);
    switch (operation.kind) {
    case SoakOperation::Write:
        operation.writes = drawWrites(draw, 1);
        break;
    case SoakOperation::Batch:
        operation.writes = drawWrites(draw, 2 + draw.below(3));
        break;
    case SoakOperation::CliSet:
    case SoakOperation::CliApply:
    case SoakOperation::CliApplyDry:
        operation.writes = drawWrites(draw, 1 + draw.below(3));
        break;
    case SoakOperation::Update:
    case SoakOperation::CliFlash:
        operation.imageBytes = 700 + draw.below(3500);
        break;
    default:
        break;
    }
    episode.operations << operation;
    return episode;
}

QByteArray soakImage(int bytes)
{
    QByteArray image(bytes, Qt::Uninitialized);
    for (int i = 0; i < bytes; ++i)
        image[i] = char((i * 31 + 7) ^ (i >> 8));
    return image;
}

QString soakHistoryTruth()
{
    QString text;
    const QStringList lines = simHistoryLines(SimProfile::demo().section(QStringLiteral("history")), soakHistoryFrom(),
        soakHistoryTo(), QDateTime::currentDateTime());
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
