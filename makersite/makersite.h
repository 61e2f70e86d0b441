#pragma once

#include <QString>

class QNetworkRequest;

// Where the maker's download page lives and how its server is trusted.
// config.ini keys:
//   update/page_url     full address of down.html (default kDefaultPageUrl)
//   update/verify_peer  true (default) checks the server's TLS certificate;
//                       false accepts any certificate, for a maker's server
//                       with a self-signed one.
extern const char kDefaultPageUrl[];

QString downloadPageUrl();
bool verifyMakerPeer();

// GET request for a maker link: tolerant URL parsing, the chosen TLS peer
// check, identity encoding (so Content-Length counts the bytes we store) and
// an inactivity time-out so a stalled server cannot hold a worker forever.
QNetworkRequest makerRequest(const QString &link, bool verifyPeer);
