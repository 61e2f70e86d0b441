#pragma once

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>

// Bounds of the download page: its size, the nesting of its elements and the
// time the whole page may take (besides the request's inactivity time-out).
extern const int kMaxPageBytes;
extern const int kMaxPageDepth;
extern const int kPageDeadlineMs;

// Fetches the maker's download page on its own thread and turns it into the
// package list (name -> link).
class DeviceTypeMgr : public QThread
{
    Q_OBJECT

public:
    explicit DeviceTypeMgr(QObject *parent = nullptr);
    // Stops a running fetch and waits for it, so the object never dies under
    // its own thread.
    ~DeviceTypeMgr() override;

    // Address and TLS trust of the page; set before a start.
    void setPageUrl(const QString &url);
    void setVerifyPeer(bool verify);
    // The whole page must have arrived within this time (kPageDeadlineMs).
    void setPageDeadlineMs(int ms);

    // Starts a fetch unless one runs; a previous stop request is forgotten.
    void startFetch();
    // Asks a running fetch to end and waits for it.
    void stop();

    QMap<QString, QString> packageList() const;

    // Adds the rows of a page body to the package list; false when the body is
    // not a page of the expected structure or lists no package.
    bool parsePage(const QByteArray &body);

signals:
    void signalShowErrorMessage(const QString &error);
    void signalFinished();

protected:
    void run() override;

private:
    // Reads the page on this object's thread; empty when stopped, too big or
    // not complete within the deadline.
    QByteArray fetchPage();

    std::atomic<bool> m_stop { false };
    QMap<QString, QString> m_packageList;
    QString m_pageUrl;
    bool m_verifyPeer = true;
    int m_deadlineMs = kPageDeadlineMs;
    mutable QMutex m_mutex;
};
