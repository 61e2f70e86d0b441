#pragma once

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
};

// Out-of-range numbers fall back to the defaults.
MonitorSettings readMonitorSettings(const QSettings &settings);
void writeMonitorSettings(QSettings &settings, const MonitorSettings &monitor);
