#pragma once

#include "sim/simresponder.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <memory>

class QUdpSocket;
struct SimProfile;

// Answers the device search: the datagram 01 01 01 01 sent (usually as a
// broadcast) to UDP port 1500. The reply is one GB2312 line naming the meter
// and goes out from the meter's exchange socket, so the program stores that
// socket's address and port. The search socket shares its port, so several
// meters (in one process or in several) all hear one broadcast.
//
// Off unless the profile's "search" section has "listen": true (the
// command-line option --search sets it). Section keys:
//   listen  bool    answer searches at all (default false)
//   address text    where the search socket binds (default 0.0.0.0)
//   port    number  search port (default 1500)
//   reply   text    the line sent; {address}, {port} and {model} become the
//                   running meter's own (default: model, name, address, port)
//   repeat  number  replies per search (default 1; 2 makes a meter answer twice)
class SearchResponder : public SimResponder
{
public:
    static constexpr quint16 kDefaultSearchPort = 1500;

    const char *name() const override { return "search"; }
    void attach(MeterSim &sim) override;
    void detach(MeterSim &sim) override;
    // The search never arrives as a framed request.
    bool handle(const SimRequest &request, SimContext &context) override { return false; }

    bool isListening() const;
    quint16 searchPort() const;
    QString bindError() const { return m_bindError; }
    int searchesAnswered() const { return m_answered; }

    // The line a meter sends when its profile gives no "reply".
    static QString defaultReply(const MeterSim &sim);
    // A profile's reply with its placeholders filled in.
    static QString fillReply(QString reply, const MeterSim &sim);
    static QByteArray searchDatagram() { return QByteArray("\x01\x01\x01\x01", 4); }

private:
    void onReadyRead();

    MeterSim *m_sim = nullptr;
    QUdpSocket *m_socket = nullptr;
    QString m_bindError;
    int m_repeat = 1;
    int m_answered = 0;
};

// Turns the search responder on in a profile (what --search does).
void enableSearchResponder(SimProfile &profile, quint16 port = SearchResponder::kDefaultSearchPort);

std::unique_ptr<SimResponder> makeSearchResponder();
