#include "monitor/monitorsettings.h"

#include "base/settingskeys.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
// A view of ten million lines would hold gigabytes.
constexpr int kMaxMaxLines = 10000000;
} // namespace

MonitorSettings readMonitorSettings(const QSettings &settings)
{
    MonitorSettings monitor;
    bool ok = false;
    const int lines = settings.value(SettingsKey::kMonitorMaxLines, monitor.maxLines).toInt(&ok);
    if (ok && lines >= 1 && lines <= kMaxMaxLines)
        monitor.maxLines = lines;
    monitor.recordFolder = settings.value(SettingsKey::kMonitorRecordFolder).toString();
    if (monitor.recordFolder.isEmpty() || !QDir(monitor.recordFolder).exists()) {
        monitor.recordFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (monitor.recordFolder.isEmpty() || !QDir(monitor.recordFolder).exists())
            monitor.recordFolder = QDir::homePath();
    }
    monitor.recordRaw = settings.value(SettingsKey::kMonitorRecordRaw, false).toBool();
    monitor.timestamps = settings.value(SettingsKey::kMonitorTimestamps, false).toBool();
    return monitor;
}

void writeMonitorSettings(QSettings &settings, const MonitorSettings &monitor)
{
    settings.setValue(SettingsKey::kMonitorMaxLines, monitor.maxLines);
    settings.setValue(SettingsKey::kMonitorRecordFolder, monitor.recordFolder);
    settings.setValue(SettingsKey::kMonitorRecordRaw, monitor.recordRaw);
    settings.setValue(SettingsKey::kMonitorTimestamps, monitor.timestamps);
}
