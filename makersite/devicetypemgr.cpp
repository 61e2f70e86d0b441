#include "makersite/devicetypemgr.h"

#include "makersite/makersite.h"

#include <QDomDocument>
#include <QDomElement>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QXmlStreamReader>

#include <memory>

const int kMaxPageBytes = 4 * 1024 * 1024;
const int kMaxPageDepth = 256;
const int kPageDeadlineMs = 60000;

namespace {
// What the reply may hold unread before the socket stops reading.
const qint64 kReplyBufferBytes = 256 * 1024;
} // namespace

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

void DeviceTypeMgr::setPageDeadlineMs(int ms)
{
    QMutexLocker locker(&m_mutex);
    m_deadlineMs = ms;
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
    // Leaves the fetch's event loop, or keeps it from starting.
    quit();
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
    int deadlineMs;
    {
        QMutexLocker locker(&m_mutex);
        url = m_pageUrl;
        verifyPeer = m_verifyPeer;
        deadlineMs = m_deadlineMs;
    }

    // The reply drives this thread's event loop; its end, the deadline, the
    // size cap or stop() leave it.
    QNetworkAccessManager manager;
    const std::unique_ptr<QNetworkReply> reply(manager.get(makerRequest(url, verifyPeer)));
    reply->setReadBufferSize(kReplyBufferBytes);
    QByteArray body;
    // A page too big or too slow is no page: an empty body fails the parse.
    bool refused = false;
    const auto take = [&] {
        body += reply->read(kMaxPageBytes + 1 - body.size());
        bool ok = false;
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (body.size() > kMaxPageBytes)
            refused = true;
        if (refused || (ok && length == body.size()))
            exit();
    };
    connect(reply.get(), &QNetworkReply::readyRead, reply.get(), take);
    connect(reply.get(), &QNetworkReply::finished, reply.get(), [&] {
        take();
        exit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply.get(), [&] {
        refused = true;
        exit();
    });
    deadline.start(deadlineMs);
    if (!m_stop)
        exec();

    reply->disconnect();
    reply->abort();
    manager.clearAccessCache();
    if (refused || m_stop)
        body.clear();
    return body;
}

namespace {

QDomElement firstChild(const QDomElement &parent, const QString &name)
{
    return parent.isNull() ? QDomElement() : parent.firstChildElement(name);
}

// True when the body is well-formed and nests no deeper than the limit. The
// tree is built only then: building, reading and freeing it all recurse once
// per level, so a page of a few hundred KB could otherwise overflow the stack.
bool isShallowWellFormed(const QByteArray &body)
{
    QXmlStreamReader reader(body);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > kMaxPageDepth)
            return false;
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return !reader.hasError();
}

} // namespace

bool DeviceTypeMgr::parsePage(const QByteArray &body)
{
    // A failed parse may leave a partial tree behind; a page that is not
    // well-formed lists nothing.
    if (body.size() > kMaxPageBytes || !isShallowWellFormed(body))
        return false;
    QDomDocument document;
    QXmlStreamReader reader(body);
    if (!document.setContent(&reader, false))
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
