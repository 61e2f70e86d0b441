#pragma once

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThread>

class QTcpSocket;

// What the server answers for one path.
struct HttpRoute
{
    QByteArray status = "200 OK";
    QByteArray body;
    bool contentLength = true;
    int sendBytes = -1; // body bytes actually sent; -1 for all
    bool hold = false; // keep the connection open after sending
    int chunkSize = 0; // 0 sends everything at once
    int chunkIntervalMs = 0;
    bool endless = false; // repeat the body for ever, as fast as the client takes it
    qint64 announcedLength = -1; // Content-Length to claim; -1 for the body's size
};

// A small HTTP/1.1 server on 127.0.0.1 with its own thread and event loop;
// with tls, HTTPS with a self-signed certificate for 127.0.0.1.
class HttpTestServer : public QThread
{
public:
    explicit HttpTestServer(bool tls = false);
    ~HttpTestServer() override;

    quint16 port() const { return m_port; }
    // The full address of a path, with the scheme of the server.
    QString url(const QString &path) const;
    void setRoute(const QByteArray &path, const HttpRoute &route);
    int requestCount() const;

protected:
    void run() override;

private:
    void serve(QTcpSocket *socket, const QByteArray &path);
    HttpRoute route(const QByteArray &path);

    mutable QMutex m_mutex;
    QMap<QByteArray, HttpRoute> m_routes;
    int m_requests = 0;
    bool m_tls = false;
    quint16 m_port = 0;
    QSemaphore m_ready;
};
