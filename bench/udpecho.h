#pragma once

#include <QByteArray>
#include <QList>

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
    // an answer did not arrive completely.
    double run(const std::vector<EchoStep> &steps);
    // The same plain client against another peer (the simulated meter on
    // 127.0.0.1:port): the link plus that peer's own time.
    double runAgainst(quint16 port, const std::vector<EchoStep> &steps);

private:
    double clientLoop(const void *server, const std::vector<EchoStep> &steps);

    int m_server = -1;
    int m_client = -1;
};
