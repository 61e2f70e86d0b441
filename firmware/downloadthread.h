#pragma once

#include <QString>
#include <QThread>

#include <atomic>

class QFile;

// Downloads one package link into a folder on its own thread, reporting
// progress, success or one error message.
class DownloadThread : public QThread
{
    Q_OBJECT

public:
    explicit DownloadThread(QObject *parent = nullptr);
    // Stops a running download and waits for it.
    ~DownloadThread() override;

    void setVerifyPeer(bool verify);

    // Starts a download unless one runs.
    void startDownload(const QString &link, const QString &folder);
    // Asks a running download to end (leaving no file) and waits for it.
    void stop();

    // The file name a link is stored under: the last path segment, decoded
    // and trimmed; empty when it names no file ("", ".", "..").
    static QString fileNameFromLink(const QString &link);

    virtual void downloadToFile(QFile &file);

signals:
    void signalDownloadSucceed();
    void signalShowErrorMessage(const QString &error);
    void signalSetDownloadProgress(int value);

protected:
    void run() override;

private:
    std::atomic<bool> m_stop { false };
    QString m_link;
    QString m_folder;
    bool m_verifyPeer = true;
};
