#pragma once

#include <QHostAddress>
#include <QList>
#include <QThread>

#include <atomic>

class SearchDeviceDialogInterf;

// Broadcasts the search datagram on every IPv4 network of the machine and
// reports each replying meter once (by sender address and port). Stoppable
// so its dialog never outlives a running search.
class DSearchDeviceThread : public QThread
{
    Q_OBJECT

public:
    static constexpr quint16 kSearchPort = 1500;
    static constexpr int kReplyWindowMs = 3000;
    // However often a host keeps answering, a target's replies are taken for
    // at most this long after its datagram went out, so a search ends.
    static constexpr int kTargetLimitMs = 5000;
    // How often a search waiting for replies looks at its stop flag.
    static constexpr int kPollMs = 20;

    // Where a search goes. The default comes from the machine's interfaces.
    struct Route
    {
        QList<QHostAddress> targets;
        quint16 port = kSearchPort;
        int replyWindowMs = kReplyWindowMs;
        int targetLimitMs = kTargetLimitMs;
    };

    explicit DSearchDeviceThread(SearchDeviceDialogInterf *owner, QObject *parent = nullptr);
    ~DSearchDeviceThread() override;

    SearchDeviceDialogInterf *owner() const { return m_owner; }

    // A reply's sender as people type it: an IPv4 sender in dotted form,
    // also when the socket reports it IPv4-mapped (::ffff:a.b.c.d).
    static QString senderText(const QHostAddress &address);

    // Starts a search unless one runs.
    void startSearch();
    // Makes a running search end after its current poll (within kPollMs).
    void requestStop() { m_stop = true; }

    // 01 01 01 01
    static QByteArray searchDatagram();
    // The broadcast address of every IPv4 entry of every interface, once each.
    static QList<QHostAddress> broadcastTargets();
    // Replaces the route of every later search (tests point it at loopback);
    // clearRouteOverride goes back to the interfaces' broadcast addresses.
    static void setRouteOverride(const Route &route);
    static void clearRouteOverride();

signals:
    void signalSetEnableButtons(bool enable);
    void signalInsertDevice(const QString &content, const QHostAddress &hostAddress, quint16 hostPort);

protected:
    void run() override;

private:
    static Route currentRoute();

    SearchDeviceDialogInterf *m_owner;
    std::atomic<bool> m_stop { false };
};
