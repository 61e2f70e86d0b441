#include "httptestserver.h"

#include <QFile>
#include <QMutexLocker>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

QByteArray readTlsFile(const char *name)
{
    QFile file(QStringLiteral(VEXA_SOURCE_DIR "/tests/firmware/tls/") + QLatin1String(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Hands out QSslSocket connections that encrypt with the test certificate.
class TlsServer : public QTcpServer
{
protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(QSslCertificate(readTlsFile("selfsigned-cert.pem")));
        socket->setPrivateKey(QSslKey(readTlsFile("selfsigned-key.pem"), QSsl::Rsa));
        addPendingConnection(socket);
        socket->startServerEncryption();
    }
};

} // namespace

HttpTestServer::HttpTestServer(bool tls)
    : m_tls(tls)
{
    start();
    m_ready.acquire();
}

HttpTestServer::~HttpTestServer()
{
    quit();
    wait();
}

QString HttpTestServer::url(const QString &path) const
{
    return QStringLiteral("%1://127.0.0.1:%2%3").arg(m_tls ? "https" : "http").arg(m_port).arg(path);
}

void HttpTestServer::setRoute(const QByteArray &path, const HttpRoute &route)
{
    QMutexLocker locker(&m_mutex);
    m_routes.insert(path, route);
}

int HttpTestServer::requestCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_requests;
}

HttpRoute HttpTestServer::route(const QByteArray &path)
{
    QMutexLocker locker(&m_mutex);
    m_requests++;
    if (m_routes.contains(path))
        return m_routes.value(path);
    HttpRoute missing;
    missing.status = "404 Not Found";
    missing.body = "<html><body>not found</body></html>";
    return missing;
}

void HttpTestServer::run()
{
    QTcpServer plain;
    TlsServer tls;
    QTcpServer &server = m_tls ? tls : plain;
    server.listen(QHostAddress::LocalHost, 0);
    m_port = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                if (request->contains("\r\n\r\n"))
                    return;
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
                serve(socket, words.value(1));
            });
        }
    });
    m_ready.release();
    exec();
}

void HttpTestServer::serve(QTcpSocket *socket, const QByteArray &path)
{
    const HttpRoute r = route(path);
    QByteArray head = "HTTP/1.1 " + r.status + "\r\n";
    if (r.contentLength)
        head += "Content-Length: " + QByteArray::number(r.announcedLength < 0 ? r.body.size() : r.announcedLength)
            + "\r\n";
    head += "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    socket->write(head);

    if (r.endless) {
        // Refilled whenever the socket has sent what it held.
        auto refill = [socket, r] {
            if (socket->bytesToWrite() < 4 * r.body.size())
                socket->write(r.body);
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, refill);
        refill();
        return;
    }
    const QByteArray body = r.sendBytes < 0 ? r.body : r.body.left(r.sendBytes);
    auto finish = [socket, r] {
        if (!r.hold)
            socket->disconnectFromHost();
    };
    if (r.chunkSize <= 0) {
        socket->write(body);
        finish();
        return;
    }
    auto *timer = new QTimer(socket);
    auto offset = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, body, offset, finish, r] {
        socket->write(body.mid(*offset, r.chunkSize));
        *offset += r.chunkSize;
        if (*offset >= body.size()) {
            timer->stop();
            finish();
        }
    });
    timer->start(r.chunkIntervalMs);
}
