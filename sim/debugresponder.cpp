#include "sim/debugresponder.h"

#include "sim/metersim.h"
#include "sim/simframe.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

void DebugResponder::attach(MeterSim &sim)
{
    m_sim = &sim;
    const QJsonObject config = sim.profile().section(QStringLiteral("debug"));
    for (const QJsonValue &line : config.value(QStringLiteral("lines")).toArray())
        m_lines.append(line.toString());
    if (m_lines.isEmpty())
        m_lines.append(QStringLiteral("debug"));
    m_intervalMs = qMax(0, config.value(QStringLiteral("intervalMs")).toInt(m_intervalMs));
    m_linesPerTick = qMax(1, config.value(QStringLiteral("linesPerTick")).toInt(m_linesPerTick));
    m_parts = qMax(1, config.value(QStringLiteral("parts")).toInt(m_parts));
    m_pieceDelayMs = qMax(0, config.value(QStringLiteral("pieceDelayMs")).toInt(m_pieceDelayMs));
    m_numbered = config.value(QStringLiteral("numbered")).toBool(m_numbered);
    if (config.contains(QStringLiteral("lineEnding")))
        m_lineEnding = simEncodeText(config.value(QStringLiteral("lineEnding")).toString());

    m_lineTimer = new QTimer(&sim);
    m_lineTimer->setInterval(m_intervalMs);
    QObject::connect(m_lineTimer, &QTimer::timeout, m_lineTimer, [this] { tick(); });
    m_pieceTimer = new QTimer(&sim);
    m_pieceTimer->setSingleShot(true);
    QObject::connect(m_pieceTimer, &QTimer::timeout, m_pieceTimer, [this] { sendNextPiece(); });
}

void DebugResponder::detach(MeterSim &sim)
{
    delete m_lineTimer;
    delete m_pieceTimer;
    m_lineTimer = nullptr;
    m_pieceTimer = nullptr;
    m_pieces.clear();
    m_sim = nullptr;
}

bool DebugResponder::handle(const SimRequest &request, SimContext &context)
{
    if (!request.isItemWrite() || request.index != 255 || request.address != context.address())
        return false;
    const QByteArray text = request.data.left(request.data.indexOf('\0'));
    ++m_switchCount;
    if (text == "1")
        apply(true);
    else if (text == "0")
        apply(false);
    context.replyAddressAnswer(text);
    return true;
}

void DebugResponder::setOn(bool on)
{
    apply(on);
}

void DebugResponder::apply(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (m_sim)
        m_sim->state().extra.insert(QStringLiteral("debug/on"), m_on);
    if (!m_lineTimer)
        return;
    if (on) {
        m_lineTimer->start();
    } else {
        m_lineTimer->stop();
        // What was not on the wire yet stays unsaid.
        m_pieces.clear();
    }
}

void DebugResponder::setIntervalMs(int milliseconds)
{
    m_intervalMs = qMax(0, milliseconds);
    if (m_lineTimer)
        m_lineTimer->setInterval(m_intervalMs);
}

void DebugResponder::sendUnsolicited(const QByteArray &bytes)
{
    queue(bytes);
}

void DebugResponder::tick()
{
    QByteArray burst;
    for (int i = 0; i < m_linesPerTick; ++i)
        burst += nextLine();
    queue(burst);
}

QByteArray DebugResponder::nextLine()
{
    const QString text = m_lines.at(m_sequence % m_lines.size());
    ++m_sequence;
    const QString line = m_numbered ? QStringLiteral("%1 %2").arg(m_sequence, 5, 10, QLatin1Char('0')).arg(text) : text;
    return simEncodeText(line) + m_lineEnding;
}

void DebugResponder::queue(const QByteArray &bytes)
{
    if (bytes.isEmpty() || !m_sim)
        return;
    const int parts = qMin(m_parts, bytes.size());
    const int size = bytes.size() / parts;
    for (int i = 0; i < parts; ++i)
        m_pieces.append(bytes.mid(i * size, i + 1 < parts ? size : -1));
    if (!m_pieceTimer->isActive())
        sendNextPiece();
}

void DebugResponder::sendNextPiece()
{
    if (m_pieces.isEmpty() || !m_sim)
        return;
    m_sim->sendUnsolicited(m_pieces.takeFirst());
    if (!m_pieces.isEmpty())
        m_pieceTimer->start(m_pieceDelayMs);
}

std::unique_ptr<SimResponder> makeDebugResponder()
{
    return std::make_unique<DebugResponder>();
}
