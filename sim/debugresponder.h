#pragma once

#include "sim/simresponder.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <memory>

class QTimer;

// The meter's debug output. Item write 255 with "1" switches it on, "0" off;
// while on, the meter emits one line (or a burst of lines) per interval,
// numbered so a test can check order. Each write may be cut into pieces sent
// a little apart, so lines cross write and datagram boundaries.
//
// Profile section "debug": lines (texts, cycled), intervalMs, linesPerTick,
// parts (pieces per write), pieceDelayMs, numbered (bool), lineEnding.
// Change settings on the meter's thread (SimRunner::call).
class DebugResponder : public SimResponder
{
public:
    const char *name() const override { return "debug"; }
    void attach(MeterSim &sim) override;
    void detach(MeterSim &sim) override;
    bool handle(const SimRequest &request, SimContext &context) override;

    bool isOn() const { return m_on; }
    // As if switched over the wire (a meter left talking by an earlier session).
    void setOn(bool on);
    int switchCount() const { return m_switchCount; }
    int linesSent() const { return m_sequence; }

    void setLines(const QStringList &lines) { m_lines = lines; }
    void setIntervalMs(int milliseconds);
    void setLinesPerTick(int count) { m_linesPerTick = qMax(1, count); }
    void setParts(int parts) { m_parts = qMax(1, parts); }
    void setPieceDelayMs(int milliseconds) { m_pieceDelayMs = qMax(0, milliseconds); }
    void setNumbered(bool numbered) { m_numbered = numbered; }
    void setLineEnding(const QByteArray &ending) { m_lineEnding = ending; }

    // Bytes sent without being asked, on or off, cut like the debug lines.
    void sendUnsolicited(const QByteArray &bytes);

private:
    void tick();
    void apply(bool on);
    void queue(const QByteArray &bytes);
    void sendNextPiece();
    QByteArray nextLine();

    MeterSim *m_sim = nullptr;
    QTimer *m_lineTimer = nullptr;
    QTimer *m_pieceTimer = nullptr;
    QList<QByteArray> m_pieces;
    QStringList m_lines;
    QByteArray m_lineEnding = QByteArrayLiteral("\r\n");
    int m_intervalMs = 500;
    int m_linesPerTick = 1;
    int m_parts = 1;
    int m_pieceDelayMs = 20;
    bool m_numbered = true;
    bool m_on = false;
    int m_switchCount = 0;
    int m_sequence = 0;
};

std::unique_ptr<SimResponder> makeDebugResponder();
