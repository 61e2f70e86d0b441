#include "firmware/devicetypemgr.h"

#include "firmware/makersite.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QDomElement>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

DeviceTypeMgr::DeviceTypeMgr(QObject *parent)
    : QThread(parent)
    , m_pageUrl(QString::fromLatin1(kDefaultPageUrl))
{
}

DeviceTypeMgr::~DeviceTypeMgr()
{
    stop();
}

void DeviceTypeMgr::setPageUrl(const QString &url)
{
    QMutexLocker locker(&m_mutex);
    m_pageUrl = url;
}

void DeviceTypeMgr::setVerifyPeer(bool verify)
{
    QMutexLocker locker(&m_mutex);
    m_verifyPeer = verify;
}

void DeviceTypeMgr::startFetch()
{
    if (isRunning())
        return;
    m_stop = false;
    start(QThread::InheritPriority);
}

void DeviceTypeMgr::stop()
{
    if (!isRunning())
        return;
    m_stop = true;
    wait();
}

QMap<QString, QString> DeviceTypeMgr::packageList() const
{
    QMutexLocker locker(&m_mutex);
    return m_packageList;
}

void DeviceTypeMgr::run()
{
    const QByteArray body = fetchPage();
    // A stopped fetch is abandoned by its dialog: nothing to report.
    if (m_stop)
        return;
    if (parsePage(body))
        emit signalFinished();
    else
        emit signalShowErrorMessage(tr("获取设备列表失败,请重试!"));
}

QByteArray DeviceTypeMgr::fetchPage()
{
    QString url;
    bool verifyPeer;
    {
        QMutexLocker locker(&m_mutex);
        url = m_pageUrl;
        verifyPeer = m_verifyPeer;
    }

    auto *manager = new QNetworkAccessManager;
    QNetworkReply *reply = manager->get(makerRequest(url, verifyPeer));
    QByteArray body;
    bool complete = false;
    while (!reply->isFinished() && !m_stop && !complete) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const QByteArray chunk = reply->readAll();
        if (!chunk.isEmpty()) {
            body += chunk;
            bool ok = false;
            const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
            complete = ok && length == body.size();
        } else {
            QThread::msleep(50);
            complete = false;
        }
    }
    // What arrived together with the end of the reply.
    if (!m_stop)
        body += reply->readAll();
    reply->close();
    manager->clearAccessCache();
    delete reply;
    delete manager;
    return body;
}

namespace {

QDomElement firstChild(const QDomElement &parent, const QString &name)
{
    return parent.isNull() ? QDomElement() : parent.firstChildElement(name);
}

} // namespace

bool DeviceTypeMgr::parsePage(const QByteArray &body)
{
    // A failed parse may leave a partial tree behind; a page that is not
    // well-formed lists nothing.
    QDomDocument document;
    if (!document.setContent(body))
        return false;
    const QDomElement root = document.documentElement();
    if (root.isNull() || root.tagName() != QLatin1String("html"))
        return false;

    const QDomElement head = firstChild(
        firstChild(firstChild(root, QStringLiteral("body")), QStringLiteral("div")), QStringLiteral("div"));
    if (head.isNull() || head.nextSiblingElement().isNull())
        return false;

    QMutexLocker locker(&m_mutex);
    for (QDomElement row = head.nextSiblingElement(); !row.isNull(); row = row.nextSiblingElement()) {
        const QString name = row.firstChildElement(QStringLiteral("div")).text().trimmed();
        const QString link = row.lastChildElement(QStringLiteral("div"))
                                 .firstChildElement(QStringLiteral("a"))
                                 .attribute(QStringLiteral("href"))
                                 .trimmed();
        m_packageList.insert(name, link);
    }
    return true;
}
