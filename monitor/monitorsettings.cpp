#include "monitor/monitorsettings.h"

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
    const int lines = settings.value(QStringLiteral("monitor/max_lines"), monitor.maxLines).toInt(&ok);
    if (ok && lines >= 1 && lines <= kMaxMaxLines)
        monitor.maxLines = lines;
    monitor.recordFolder = settings.value(QStringLiteral("monitor/record_folder")).toString();
    if (monitor.recordFolder.isEmpty() || !QDir(monitor.recordFolder).exists()) {
        monitor.recordFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (monitor.recordFolder.isEmpty() || !QDir(monitor.recordFolder).exists())
            monitor.recordFolder = QDir::homePath();
    }
    monitor.recordRaw = settings.value(QStringLiteral("monitor/record_raw"), false).toBool();
    monitor.timestamps = settings.value(QStringLiteral("monitor/timestamps"), false).toBool();
    return monitor;
}

void writeMonitorSettings(QSettings &settings, const MonitorSettings &monitor)
{
    settings.setValue(QStringLiteral("monitor/max_lines"), monitor.maxLines);
    settings.setValue(QStringLiteral("monitor/record_folder"), monitor.recordFolder);
    settings.setValue(QStringLiteral("monitor/record_raw"), monitor.recordRaw);
    settings.setValue(QStringLiteral("monitor/timestamps"), monitor.timestamps);
}
