#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <thread>
#include <vector>

// One exchange of an operation as it travels on the wire: the request and
// the answer pieces, sent `gapMicros` apart.
struct EchoStep
{
    QByteArray request;
    QList<QByteArray> answer;
    int gapMicros = 0;
};

// Where the two ends of the bare echo run. On a virtual machine a blocking
// hand-over between threads on different CPUs costs far more than on one;
// the floor is the fastest of these, not whichever the scheduler picked.
enum class EchoPlacement {
    Unpinned, // wherever the scheduler puts them, blocking waits
    SameCpu, // both ends pinned to one CPU, blocking waits
    ApartBusy, // pinned to two CPUs, both polling without sleeping
};

// The fastest bare echo over all placements and runs, and which placement
// gave it.
struct EchoFloor
{
    double micros = -1;
    QString placement;
};

// The bare echo: the same frames an operation exchanges, played between two
// plain loopback sockets without the program and without the simulator. Its
// time is what the link itself costs.
class UdpEcho
{
public:
    UdpEcho();
    ~UdpEcho();

    UdpEcho(const UdpEcho &) = delete;
    UdpEcho &operator=(const UdpEcho &) = delete;

    bool isValid() const { return m_server >= 0 && m_client >= 0; }
    // Runs every step in order; returns the time in microseconds, or -1 when
    // an answer did not arrive completely. The peer is running before the
    // clock starts.
    double run(const std::vector<EchoStep> &steps, EchoPlacement placement = EchoPlacement::Unpinned);
    // The same plain client against another peer (the simulated meter on
    // 127.0.0.1:port): the link plus that peer's own time.
    double runAgainst(quint16 port, const std::vector<EchoStep> &steps);

    // `runs` runs in each placement; the minimum of them all.
    static EchoFloor floor(const std::vector<EchoStep> &steps, int runs);

private:
    double clientLoop(const void *server, const std::vector<EchoStep> &steps, bool busy);

    int m_server = -1;
    int m_client = -1;
};
