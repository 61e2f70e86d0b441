#include "sim/searchresponder.h"

#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simprofile.h"

#include <QJsonObject>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <cstdio>

namespace {
const QString kSectionName = QStringLiteral("search");
} // namespace

void SearchResponder::attach(MeterSim &sim)
{
    m_sim = &sim;
    const QJsonObject section = sim.profile().section(kSectionName);
    if (!section.value(QStringLiteral("listen")).toBool(false))
        return;
    m_repeat = qMax(1, section.value(QStringLiteral("repeat")).toInt(1));
    const QHostAddress address(section.value(QStringLiteral("address")).toString(QStringLiteral("0.0.0.0")));
    const int port = section.value(QStringLiteral("port")).toInt(kDefaultSearchPort);

    m_socket = new QUdpSocket(&sim);
    if (!m_socket->bind(address, quint16(port), QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        m_bindError = m_socket->errorString();
        std::fprintf(stderr, "vexa-meter-sim: search port %d: %s\n", port, qPrintable(m_bindError));
        delete m_socket;
        m_socket = nullptr;
        return;
    }
    QObject::connect(m_socket, &QUdpSocket::readyRead, &sim, [this] { onReadyRead(); });
}

void SearchResponder::detach(MeterSim &sim)
{
    delete m_socket;
    m_socket = nullptr;
    m_sim = nullptr;
}

bool SearchResponder::isListening() const
{
    return m_socket != nullptr;
}

quint16 SearchResponder::searchPort() const
{
    return m_socket ? m_socket->localPort() : 0;
}

QString SearchResponder::defaultReply(const MeterSim &sim)
{
    QString name = sim.profile().model;
    for (const SimItem &item : sim.profile().items) {
        if (item.name == QStringLiteral("设备名称")) {
            name = item.value;
            break;
        }
    }
    return QStringLiteral("型号:%1 名称:%2 地址:%3 端口:%4")
        .arg(sim.profile().model, name)
        .arg(sim.address())
        .arg(sim.udpPort());
}

QString SearchResponder::fillReply(QString reply, const MeterSim &sim)
{
    // The running meter's own values: --address may differ from the profile's text.
    reply.replace(QStringLiteral("{address}"), QString::number(sim.address()));
    reply.replace(QStringLiteral("{port}"), QString::number(sim.udpPort()));
    reply.replace(QStringLiteral("{model}"), sim.profile().model);
    return reply;
}

void SearchResponder::onReadyRead()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram request = m_socket->receiveDatagram();
        if (request.data() != searchDatagram() || !m_sim)
            continue;
        const QJsonValue reply = m_sim->profile().section(kSectionName).value(QStringLiteral("reply"));
        const QByteArray bytes
            = simEncodeText(reply.isString() ? fillReply(reply.toString(), *m_sim) : defaultReply(*m_sim));
        for (int i = 0; i < m_repeat; ++i)
            m_sim->sendDatagram(bytes, request.senderAddress(), quint16(request.senderPort()));
        ++m_answered;
    }
}

void enableSearchResponder(SimProfile &profile, quint16 port)
{
    QJsonObject section = profile.raw.value(kSectionName).toObject();
    section.insert(QStringLiteral("listen"), true);
    section.insert(QStringLiteral("port"), int(port));
    profile.raw.insert(kSectionName, section);
}

std::unique_ptr<SimResponder> makeSearchResponder()
{
    return std::make_unique<SearchResponder>();
}
