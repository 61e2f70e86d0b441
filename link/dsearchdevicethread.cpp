#include "link/dsearchdevicethread.h"

#include "link/frame.h"
#include "link/udpwait.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QSet>
#include <QUdpSocket>

#include <optional>

namespace {
QMutex routeMutex;
std::optional<DSearchDeviceThread::Route> routeOverride;

// One form for an IPv4 sender, whether it came as a.b.c.d or ::ffff:a.b.c.d.
QString senderKey(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
}
} // namespace

DSearchDeviceThread::DSearchDeviceThread(SearchDeviceDialogInterf *owner, QObject *parent)
    : QThread(parent)
    , m_owner(owner)
{
    // The sender of each reply crosses to the receiver's thread.
    qRegisterMetaType<QHostAddress>("QHostAddress");
}

QString DSearchDeviceThread::senderText(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
}

DSearchDeviceThread::~DSearchDeviceThread()
{
    requestStop();
    wait();
}

void DSearchDeviceThread::startSearch()
{
    if (isRunning())
        return;
    m_stop = false;
    start();
}

QByteArray DSearchDeviceThread::searchDatagram()
{
    return QByteArray("\x01\x01\x01\x01", 4);
}

QList<QHostAddress> DSearchDeviceThread::broadcastTargets()
{
    QList<QHostAddress> targets;
    QSet<QHostAddress> seen;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            // A null broadcast address cannot be sent to; skipping it is the
            // same as the failed send it would give.
            const QHostAddress broadcast = entry.broadcast();
            if (broadcast.isNull() || seen.contains(broadcast))
                continue;
            seen.insert(broadcast);
            targets.append(broadcast);
        }
    }
    return targets;
}

void DSearchDeviceThread::setRouteOverride(const Route &route)
{
    QMutexLocker locker(&routeMutex);
    routeOverride = route;
}

void DSearchDeviceThread::clearRouteOverride()
{
    QMutexLocker locker(&routeMutex);
    routeOverride.reset();
}

DSearchDeviceThread::Route DSearchDeviceThread::currentRoute()
{
    {
        QMutexLocker locker(&routeMutex);
        if (routeOverride)
            return *routeOverride;
    }
    Route route;
    route.targets = broadcastTargets();
    return route;
}

void DSearchDeviceThread::run()
{
    // Unbound: the first send binds it to an ephemeral port, where the
    // replies arrive.
    QUdpSocket socket;
    emit signalSetEnableButtons(false);

    const Route route = currentRoute();
    const QByteArray datagram = searchDatagram();
    // A meter is listed once, however often (or through however many
    // targets) it answers: by its sender address and port.
    QSet<QPair<QString, quint16>> listed;
    for (const QHostAddress &target : route.targets) {
        if (m_stop)
            break;
        if (socket.writeDatagram(datagram, target, route.port) < datagram.size())
            continue;
        QElapsedTimer sent;
        sent.start();
        QElapsedTimer quiet;
        quiet.start();
        while (!m_stop && sent.elapsed() <= route.targetLimitMs) {
            if (socket.hasPendingDatagrams()) {
                const QNetworkDatagram reply = socket.receiveDatagram();
                const QPair<QString, quint16> sender { senderKey(reply.senderAddress()), quint16(reply.senderPort()) };
                if (!reply.data().isEmpty() && !listed.contains(sender)) {
                    listed.insert(sender);
                    emit signalInsertDevice(
                        decodeGb2312(reply.data()).trimmed(), reply.senderAddress(), quint16(reply.senderPort()));
                }
                quiet.restart();
                continue;
            }
            // Wakes up as soon as a reply lands; a stop and the target's
            // limit are still seen within kPollMs.
            if (!sleepUntilReadable(socket, quiet, route.replyWindowMs, kPollMs))
                break;
        }
    }
    emit signalSetEnableButtons(true);
}
