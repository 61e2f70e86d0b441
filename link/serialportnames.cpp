#include "link/serialportnames.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSerialPortInfo>

#include <algorithm>

namespace {
QMutex sourceMutex;
std::function<QStringList()> &portNamesSource()
{
    static std::function<QStringList()> source;
    return source;
}
QString &byIdFolderOverride()
{
    static QString folder;
    return folder;
}
// A folder of a few dozen links at most; a bound all the same.
constexpr int kMaxByIdEntries = 1000;
} // namespace

QStringList availableSerialPortNames()
{
    {
        QMutexLocker locker(&sourceMutex);
        if (portNamesSource())
            return portNamesSource()();
    }
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    return names;
}

void setSerialPortNamesSource(std::function<QStringList()> source)
{
    QMutexLocker locker(&sourceMutex);
    portNamesSource() = std::move(source);
}

QStringList orderedPortNames(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        if (a.size() != b.size())
            return a.size() < b.size();
        return a < b;
    });
    QStringList result;
    for (const QString &name : qAsConst(names)) {
        if (name.isEmpty() || (!result.isEmpty() && result.last() == name))
            continue;
        result.append(name);
    }
    return result;
}

QString serialByIdFolder()
{
    QMutexLocker locker(&sourceMutex);
    return byIdFolderOverride().isEmpty() ? QStringLiteral("/dev/serial/by-id") : byIdFolderOverride();
}

void setSerialByIdFolder(const QString &folder)
{
    QMutexLocker locker(&sourceMutex);
    byIdFolderOverride() = folder;
}

QString serialByIdPath(const QString &port)
{
    const QString device = QFileInfo(port).canonicalFilePath();
    if (device.isEmpty())
        return {};
    const QDir folder(serialByIdFolder());
    const QStringList names = folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (int i = 0; i < names.size() && i < kMaxByIdEntries; ++i) {
        const QString path = folder.filePath(names.at(i));
        if (QFileInfo(path).canonicalFilePath() == device)
            return path;
    }
    return {};
}
