#include "link/serialportnames.h"

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
