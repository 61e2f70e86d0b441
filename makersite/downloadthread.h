#pragma once

#include <QString>
#include <QThread>

#include <atomic>

class QFile;

// The largest file a download may bring: twice the biggest package the
// reader accepts; anything larger is no package.
extern const qint64 kMaxDownloadBytes;

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
    // A name a download may be saved under: visible (no leading dot), no
    // control characters, and none of the program's own files
    // (isProgramFileName).
    static bool isPlainFileName(const QString &name);
    // Where a link is saved in a folder; empty when its name is not plain or
    // would leave the folder.
    static QString targetPath(const QString &link, const QString &folder);

    // A smaller limit than kMaxDownloadBytes; set while not running.
    void setMaxDownloadBytes(qint64 bytes);

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
    qint64 m_maxBytes = kMaxDownloadBytes;
    // Set by downloadToFile when every byte arrived.
    bool m_complete = false;
};
