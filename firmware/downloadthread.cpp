#include "firmware/downloadthread.h"

#include "firmware/makersite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

DownloadThread::DownloadThread(QObject *parent)
    : QThread(parent)
{
}

DownloadThread::~DownloadThread()
{
    stop();
}

void DownloadThread::setVerifyPeer(bool verify)
{
    if (!isRunning())
        m_verifyPeer = verify;
}

void DownloadThread::startDownload(const QString &link, const QString &folder)
{
    if (isRunning())
        return;
    m_stop = false;
    m_link = link;
    m_folder = folder;
    start(QThread::InheritPriority);
}

void DownloadThread::stop()
{
    if (!isRunning())
        return;
    m_stop = true;
    wait();
}

QString DownloadThread::fileNameFromLink(const QString &link)
{
    const QUrl url(link, QUrl::TolerantMode);
    QString name = url.path(QUrl::FullyDecoded);
    // A decoded %2F or %5C must not smuggle a folder into the name.
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1).trimmed();
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return name;
}

void DownloadThread::run()
{
    // Only web links: a page must not make us copy local or resource files.
    const QString scheme = QUrl(m_link, QUrl::TolerantMode).scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        emit signalShowErrorMessage(tr("下载失败,打开链接失败!"));
        m_stop = false;
        return;
    }
    const QString name = fileNameFromLink(m_link);
    const QDir folder(m_folder);
    const QString target = folder.filePath(name);
    // The target has to be a file directly inside the chosen folder.
    const bool inside = !name.isEmpty() && !QDir::isAbsolutePath(name)
        && QDir::cleanPath(QFileInfo(target).absolutePath()) == QDir::cleanPath(folder.absolutePath());
    folder.mkpath(QStringLiteral("."));

    QFile file(target);
    if (!inside || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        emit signalShowErrorMessage(tr("下载失败,打开文件失败: %1").arg(name));
        m_stop = false;
        return;
    }
    downloadToFile(file);
    file.close();
}

void DownloadThread::downloadToFile(QFile &file)
{
    auto *manager = new QNetworkAccessManager;
    QNetworkReply *reply = manager->get(makerRequest(m_link, m_verifyPeer));
    if (!reply) {
        emit signalShowErrorMessage(tr("下载失败,打开链接失败!"));
        delete manager;
        m_stop = false;
        return;
    }

    emit signalSetDownloadProgress(0);
    bool complete = false;
    for (;;) {
        if (reply->isFinished() || complete) {
            if (m_stop) {
                file.resize(0);
            } else if (reply->error() != QNetworkReply::NoError) {
                file.resize(0);
                emit signalShowErrorMessage(tr("下载异常: %1").arg(reply->errorString()));
            } else if (complete) {
                emit signalDownloadSucceed();
            } else {
                file.resize(0);
                emit signalShowErrorMessage(tr("下载异常: 未找到该文件或下载失败"));
            }
            break;
        }
        if (m_stop) {
            file.resize(0);
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        const QByteArray chunk = reply->readAll();
        if (!chunk.isEmpty()) {
            file.write(chunk);
            file.flush();
            const qint64 total = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            const qint64 size = file.size();
            if (total > 0)
                emit signalSetDownloadProgress(int(100 * size / total));
            complete = size == total;
        } else {
            QThread::msleep(50);
            complete = false;
        }
    }

    if (file.size() == 0) {
        file.close();
        file.remove();
    }
    reply->close();
    manager->clearAccessCache();
    delete reply;
    delete manager;
    m_stop = false;
}
