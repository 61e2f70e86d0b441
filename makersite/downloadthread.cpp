#include "makersite/downloadthread.h"

#include "base/filenames.h"
#include "makersite/makersite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <cstdio>

const qint64 kMaxDownloadBytes = 256 * 1024 * 1024;

namespace {
// What the reply may hold unread before the socket stops reading.
const qint64 kReplyBufferBytes = 256 * 1024;

bool isInvisible(QChar c)
{
    return c.isNull() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}
} // namespace

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
    // Leaves the download's event loop, or keeps it from starting.
    quit();
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

bool DownloadThread::isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    if (std::any_of(name.cbegin(), name.cend(), isInvisible))
        return false;
    return !isProgramFileName(name);
}

QString DownloadThread::targetPath(const QString &link, const QString &folder)
{
    const QString name = fileNameFromLink(link);
    if (!isPlainFileName(name))
        return QString();
    const QDir dir(folder);
    const QString target = dir.filePath(name);
    // The target has to be a file directly inside the chosen folder.
    if (QDir::isAbsolutePath(name)
        || QDir::cleanPath(QFileInfo(target).absolutePath()) != QDir::cleanPath(dir.absolutePath()))
        return QString();
    return target;
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
    QString name = fileNameFromLink(m_link);
    const QString target = targetPath(m_link, m_folder);
    QDir(m_folder).mkpath(QStringLiteral("."));

    // The download goes to a hidden file beside the target and replaces it
    // only when complete, so a failure or a stop leaves the folder as it was.
    QTemporaryFile file(QDir(m_folder).filePath(QStringLiteral(".%1.XXXXXX.part").arg(name)));
    if (target.isEmpty() || !file.open()) {
        std::replace_if(name.begin(), name.end(), isInvisible, QChar::ReplacementCharacter);
        emit signalShowErrorMessage(tr("下载失败,打开文件失败: %1").arg(name));
        m_stop = false;
        return;
    }
    m_complete = false;
    downloadToFile(file);
    file.close();
    if (m_complete) {
        // Mode of the file it replaces, or what a new file would get.
        file.setPermissions(QFileInfo::exists(target) ? QFile::permissions(target)
                                                      : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                    | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
        // rename(2) replaces an existing target in one step.
        if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) == 0) {
            file.setAutoRemove(false);
            emit signalDownloadSucceed();
        } else {
            emit signalShowErrorMessage(tr("下载失败,保存文件失败: %1").arg(name));
        }
    }
}

void DownloadThread::setMaxDownloadBytes(qint64 bytes)
{
    if (!isRunning())
        m_maxBytes = bytes;
}

void DownloadThread::downloadToFile(QFile &file)
{
    QNetworkAccessManager manager;
    const std::unique_ptr<QNetworkReply> reply(manager.get(makerRequest(m_link, m_verifyPeer)));
    if (!reply) {
        emit signalShowErrorMessage(tr("下载失败,打开链接失败!"));
        m_stop = false;
        return;
    }
    // Back-pressure: the socket stops reading while this much waits unread.
    reply->setReadBufferSize(kReplyBufferBytes);
    const QString tooBig = tr("下载异常: 文件过大,超过 %1 MB").arg(m_maxBytes / (1024 * 1024));

    emit signalSetDownloadProgress(0);
    // The reply drives this thread's event loop until it ends (its error, a
    // 404 one too, is known only then), fails a check or stop() leaves it.
    bool complete = false;
    bool failed = false;
    const auto fail = [&](const QString &error) {
        emit signalShowErrorMessage(error);
        failed = true;
        exit();
    };
    const auto take = [&] {
        const qint64 total = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (total > m_maxBytes)
            return fail(tooBig);
        const QByteArray chunk = reply->readAll();
        if (chunk.isEmpty())
            return;
        if (file.size() + chunk.size() > m_maxBytes)
            return fail(tooBig);
        if (file.write(chunk) != chunk.size() || !file.flush())
            return fail(tr("下载失败,保存文件失败: %1").arg(fileNameFromLink(m_link)));
        const qint64 size = file.size();
        if (total > 0)
            emit signalSetDownloadProgress(int(100 * size / total));
        complete = size == total;
    };
    connect(reply.get(), &QNetworkReply::readyRead, reply.get(), take);
    connect(reply.get(), &QNetworkReply::finished, reply.get(), [&] {
        take();
        exit();
    });
    if (!m_stop)
        exec();

    reply->disconnect();
    if (m_stop || failed) {
        // Left silently when stopped; the temporary file goes with it.
    } else if (reply->error() != QNetworkReply::NoError) {
        emit signalShowErrorMessage(tr("下载异常: %1").arg(reply->errorString()));
    } else if (complete) {
        m_complete = true;
    } else {
        emit signalShowErrorMessage(tr("下载异常: 未找到该文件或下载失败"));
    }
    reply->abort();
    manager.clearAccessCache();
    m_stop = false;
}
