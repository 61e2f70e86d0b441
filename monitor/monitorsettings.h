#pragma once

#include "monitor/monitorcommand.h"

#include <QList>
#include <QString>

class QSettings;

// The monitor's own keys in config.ini, read and written only here.
struct MonitorSettings
{
    static constexpr int kDefaultMaxLines = 100000;

    // monitor/max_lines: lines the view keeps; older ones drop off the top.
    int maxLines = kDefaultMaxLines;
    // monitor/record_folder: where the last recording went.
    QString recordFolder;
    // monitor/record_raw: record the received bytes rather than the shown text.
    bool recordRaw = false;
    // monitor/timestamps: time stamps before each line in text mode.
    bool timestamps = false;
    // monitor/commands: the named commands of the send line.
    QList<MonitorCommand> commands;
    // monitor/hex_pause, monitor/hex_pause_ms: in hex mode a pause of the
    // line also ends a line.
    bool hexPause = false;
    int hexPauseMs = kDefaultHexPauseMs;

    static constexpr int kDefaultHexPauseMs = 20;
    static constexpr int kMaxHexPauseMs = 10000;
};

// Out-of-range numbers fall back to the defaults.
MonitorSettings readMonitorSettings(const QSettings &settings);
void writeMonitorSettings(QSettings &settings, const MonitorSettings &monitor);
