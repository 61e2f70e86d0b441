#include "makersite/makersite.h"

#include "base/settings.h"
#include "base/settingskeys.h"

#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUrl>

const char kDefaultPageUrl[] = "http://127.0.0.1:8716/down.html";

namespace {
const int kTransferTimeoutMs = 30000;
}

QString downloadPageUrl()
{
    return appSettings()->value(SettingsKey::kUpdatePageUrl, QString::fromLatin1(kDefaultPageUrl)).toString();
}

bool verifyMakerPeer()
{
    return appSettings()->value(SettingsKey::kUpdateVerifyPeer, true).toBool();
}

QNetworkRequest makerRequest(const QString &link, bool verifyPeer)
{
    QNetworkRequest request(QUrl(link, QUrl::TolerantMode));
    QSslConfiguration ssl = request.sslConfiguration();
    ssl.setPeerVerifyMode(verifyPeer ? QSslSocket::AutoVerifyPeer : QSslSocket::VerifyNone);
    request.setSslConfiguration(ssl);
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(kTransferTimeoutMs);
    return request;
}
