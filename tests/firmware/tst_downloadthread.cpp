#include "makersite/downloadthread.h"
#include "httptestserver.h"
#include "tests/support/tempworkdir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(HttpRoute)

namespace {

QByteArray payload(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 7) & 0xFF);
    return bytes;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// Runs a download to its end and records what it reported.
struct Outcome
{
    QList<int> progress;
    int succeeded = 0;
    QStringList errors;
};

Outcome download(DownloadThread &thread, const QString &link, const QString &folder)
{
    QSignalSpy progress(&thread, &DownloadThread::signalSetDownloadProgress);
    QSignalSpy succeeded(&thread, &DownloadThread::signalDownloadSucceed);
    QSignalSpy errors(&thread, &DownloadThread::signalShowErrorMessage);
    thread.startDownload(link, folder);
    if (!thread.wait(20000))
        qWarning("download did not end");
    Outcome outcome;
    for (const QList<QVariant> &args : progress)
        outcome.progress << args.at(0).toInt();
    outcome.succeeded = succeeded.count();
    for (const QList<QVariant> &args : errors)
        outcome.errors << args.at(0).toString();
    return outcome;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

class TstDownloadThread : public QObject
{
    Q_OBJECT

private slots:
    void fileNameFromLink_data();
    void fileNameFromLink();
    void downloadsWithProgress();
    void failures_data();
    void failures();
    void unsafeNamesStayOutOfTheFolder_data();
    void unsafeNamesStayOutOfTheFolder();
    void trailingEncodedSpaceIsTrimmed();
    void stopMidTransferKeepsOldFile();
    void downloadsFromPythonHttpServer();
    void selfSignedServerNeedsVerificationOff_data();
    void selfSignedServerNeedsVerificationOff();

private:
    TempWorkDir m_dir;
};

void TstDownloadThread::fileNameFromLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << "http://h/files/VX-100.vexabin"
                           << "VX-100.vexabin";
    QTest::newRow("encoded blank inside") << "http://h/files/VX%20100.vexabin"
                                          << "VX 100.vexabin";
    QTest::newRow("encoded trailing blank") << "http://h/files/VX-100.vexabin%20"
                                            << "VX-100.vexabin";
    QTest::newRow("query ignored") << "http://h/get/pkg.vexabin?id=3"
                                   << "pkg.vexabin";
    QTest::newRow("non-ASCII") << "http://h/%E5%9B%BA%E4%BB%B6.vexabin" << QString::fromUtf8("固件.vexabin");
    QTest::newRow("encoded slashes") << "http://h/a/..%2F..%2Fevil.vexabin"
                                     << "evil.vexabin";
    QTest::newRow("encoded backslashes") << "http://h/a/..%5C..%5Cevil.vexabin"
                                         << "evil.vexabin";
    QTest::newRow("dot dot") << "http://h/files/%2E%2E"
                             << "";
    QTest::newRow("folder link") << "http://h/files/"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TstDownloadThread::fileNameFromLink()
{
    QFETCH(QString, link);
    QFETCH(QString, name);
    QCOMPARE(DownloadThread::fileNameFromLink(link), name);
}

void TstDownloadThread::downloadsWithProgress()
{
    HttpTestServer server;
    HttpRoute route;
    route.body = payload(200 * 1024);
    route.chunkSize = 16 * 1024;
    route.chunkIntervalMs = 10;
    server.setRoute("/files/VX-100.vexabin", route);

    // The folder does not exist yet.
    const QString folder = m_dir.filePath(QStringLiteral("new/sub"));
    DownloadThread thread;
    const Outcome outcome = download(thread, server.url(QStringLiteral("/files/VX-100.vexabin")), folder);

    QCOMPARE(outcome.errors, QStringList());
    QCOMPARE(outcome.succeeded, 1);
    QVERIFY(outcome.progress.size() > 3);
    QCOMPARE(outcome.progress.first(), 0);
    QCOMPARE(outcome.progress.last(), 100);
    for (int i = 1; i < outcome.progress.size(); ++i)
        QVERIFY(outcome.progress.at(i) >= outcome.progress.at(i - 1));
    QFile file(QDir(folder).filePath(QStringLiteral("VX-100.vexabin")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), route.body);
}

void TstDownloadThread::failures_data()
{
    QTest::addColumn<HttpRoute>("route");
    QTest::addColumn<QString>("error"); // a prefix of the message

    HttpRoute noLength;
    noLength.body = payload(5000);
    noLength.contentLength = false;
    QTest::newRow("no Content-Length") << noLength << QString::fromUtf8("下载异常: 未找到该文件或下载失败");

    HttpRoute missing;
    missing.status = "404 Not Found";
    missing.body = "<html>gone</html>";
    QTest::newRow("404") << missing << QString::fromUtf8("下载异常: ");

    HttpRoute truncated;
    truncated.body = payload(50000);
    truncated.sendBytes = 20000;
    QTest::newRow("truncated body") << truncated << QString::fromUtf8("下载异常: ");

    // The worker is limited to 2 MB here.
    const QString tooBig = QString::fromUtf8("下载异常: 文件过大,超过 2 MB");
    HttpRoute endless;
    endless.body = payload(64 * 1024);
    endless.contentLength = false;
    endless.endless = true;
    QTest::newRow("endless, fast") << endless << tooBig;
    HttpRoute announced = endless;
    announced.contentLength = true;
    announced.announcedLength = 50LL * 1024 * 1024 * 1024;
    QTest::newRow("announces 50 GB") << announced << tooBig;
}

void TstDownloadThread::failures()
{
    QFETCH(HttpRoute, route);
    QFETCH(QString, error);

    HttpTestServer server;
    server.setRoute("/files/pkg.vexabin", route);
    // The package already there survives a failed attempt untouched.
    const QString target = m_dir.filePath(QStringLiteral("Files/pkg.vexabin"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("Files")));
    QVERIFY(m_dir.writeFile(QStringLiteral("Files/pkg.vexabin"), "old"));

    DownloadThread thread;
    thread.setMaxDownloadBytes(2 * 1024 * 1024);
    QElapsedTimer timer;
    timer.start();
    const Outcome outcome = download(thread, server.url(QStringLiteral("/files/pkg.vexabin")), m_dir.filePath("Files"));

    QCOMPARE(outcome.succeeded, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QVERIFY2(outcome.errors.first().startsWith(error), qPrintable(outcome.errors.first()));
    QVERIFY(timer.elapsed() < 10000);
    QCOMPARE(readText(target), QStringLiteral("old"));
    QCOMPARE(QDir(m_dir.filePath("Files")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList { QStringLiteral("pkg.vexabin") });
}

void TstDownloadThread::unsafeNamesStayOutOfTheFolder_data()
{
    QTest::addColumn<QString>("link"); // a path is put on the test server
    QTest::addColumn<QString>("message");
    QTest::newRow("dot dot") << "/files/%2E%2E" << QString::fromUtf8("下载失败,打开文件失败: ");
    QTest::newRow("no name") << "/files/" << QString::fromUtf8("下载失败,打开文件失败: ");
    QTest::newRow("local file") << "file:///etc/hostname" << QString::fromUtf8("下载失败,打开链接失败!");
    QTest::newRow("no scheme") << "pkg.vexabin" << QString::fromUtf8("下载失败,打开链接失败!");
    // Hidden, odd or the program's own files.
    QTest::newRow("hidden") << "/files/.bashrc" << QString::fromUtf8("下载失败,打开文件失败: .bashrc");
    QTest::newRow("settings") << "/files/config.ini" << QString::fromUtf8("下载失败,打开文件失败: config.ini");
    QTest::newRow("skip file") << "/files/SKIPITEMS" << QString::fromUtf8("下载失败,打开文件失败: SKIPITEMS");
    QTest::newRow("translation") << "/files/zh_TW.qm" << QString::fromUtf8("下载失败,打开文件失败: zh_TW.qm");
    QTest::newRow("NUL") << "/files/a%00b.vexabin" << QString::fromUtf8("下载失败,打开文件失败: a\uFFFDb.vexabin");
    QTest::newRow("line feed") << "/files/a%0Ab.vexabin"
                               << QString::fromUtf8("下载失败,打开文件失败: a\uFFFDb.vexabin");
}

void TstDownloadThread::unsafeNamesStayOutOfTheFolder()
{
    QFETCH(QString, link);
    QFETCH(QString, message);

    HttpTestServer server;
    const QString folder = m_dir.filePath(QStringLiteral("unsafe/inner"));
    DownloadThread thread;
    const Outcome outcome = download(thread, link.startsWith(QLatin1Char('/')) ? server.url(link) : link, folder);

    QCOMPARE(outcome.succeeded, 0);
    QCOMPARE(outcome.errors, QStringList { message });
    QCOMPARE(server.requestCount(), 0);
    QCOMPARE(
        QDir(m_dir.filePath("unsafe")).entryList(QDir::NoDotAndDotDot | QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
}

void TstDownloadThread::trailingEncodedSpaceIsTrimmed()
{
    HttpTestServer server;
    HttpRoute route;
    route.body = "firmware";
    server.setRoute("/files/VX%20100.vexabin%20", route);

    DownloadThread thread;
    const Outcome outcome
        = download(thread, server.url(QStringLiteral("/files/VX%20100.vexabin%20")), m_dir.filePath("Files"));
    QCOMPARE(outcome.errors, QStringList());
    QCOMPARE(outcome.succeeded, 1);
    QCOMPARE(readText(m_dir.filePath(QStringLiteral("Files/VX 100.vexabin"))), QStringLiteral("firmware"));
}

void TstDownloadThread::stopMidTransferKeepsOldFile()
{
    HttpTestServer server;
    HttpRoute stalled;
    stalled.body = payload(100000);
    stalled.sendBytes = 30000;
    stalled.hold = true;
    server.setRoute("/files/big.vexabin", stalled);
    QDir().mkpath(m_dir.filePath(QStringLiteral("Stop")));
    QVERIFY(m_dir.writeFile(QStringLiteral("Stop/big.vexabin"), "old"));

    DownloadThread thread;
    QSignalSpy progress(&thread, &DownloadThread::signalSetDownloadProgress);
    QSignalSpy succeeded(&thread, &DownloadThread::signalDownloadSucceed);
    QSignalSpy errors(&thread, &DownloadThread::signalShowErrorMessage);
    thread.startDownload(server.url(QStringLiteral("/files/big.vexabin")), m_dir.filePath(QStringLiteral("Stop")));
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toInt() == 30, 5000);

    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(!thread.isRunning());
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    // The spies are read only once the worker has ended.
    QCOMPARE(progress.last().at(0).toInt(), 30);
    QCOMPARE(succeeded.count(), 0);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(readText(m_dir.filePath(QStringLiteral("Stop/big.vexabin"))), QStringLiteral("old"));
    QCOMPARE(QDir(m_dir.filePath("Stop")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList { QStringLiteral("big.vexabin") });

    // Nor does a stop that comes before the first byte.
    for (int i = 0; i < 20; ++i) {
        timer.restart();
        thread.startDownload(server.url(QStringLiteral("/files/big.vexabin")), m_dir.filePath(QStringLiteral("Stop")));
        thread.stop();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    }
    QCOMPARE(succeeded.count(), 0);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(readText(m_dir.filePath(QStringLiteral("Stop/big.vexabin"))), QStringLiteral("old"));

    // A complete download replaces it.
    stalled.sendBytes = -1;
    stalled.hold = false;
    server.setRoute("/files/big.vexabin", stalled);
    const Outcome outcome = download(thread, server.url(QStringLiteral("/files/big.vexabin")), m_dir.filePath("Stop"));
    QCOMPARE(outcome.succeeded, 1);
    QFile file(m_dir.filePath(QStringLiteral("Stop/big.vexabin")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stalled.body);
    QCOMPARE(QDir(m_dir.filePath("Stop")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList { QStringLiteral("big.vexabin") });
}

void TstDownloadThread::downloadsFromPythonHttpServer()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    const QString root = m_dir.filePath(QStringLiteral("site"));
    QDir().mkpath(root);
    const QByteArray body = payload(70000);
    QVERIFY(m_dir.writeFile(QStringLiteral("site/VX 200.vexabin"), body));

    const quint16 port = freePort();
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(python,
        { QStringLiteral("-m"), QStringLiteral("http.server"), QString::number(port), QStringLiteral("--bind"),
            QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), root });
    QVERIFY(server.waitForStarted());
    auto cleanup = qScopeGuard([&server] {
        server.terminate();
        if (!server.waitForFinished(3000))
            server.kill();
        server.waitForFinished(3000);
    });
    // Ready once it accepts a connection.
    QTRY_VERIFY_WITH_TIMEOUT(
        [port] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(200);
        }(),
        10000);

    DownloadThread thread;
    const Outcome outcome = download(
        thread, QStringLiteral("http://127.0.0.1:%1/VX%20200.vexabin").arg(port), m_dir.filePath("FromPython"));
    QCOMPARE(outcome.errors, QStringList());
    QCOMPARE(outcome.succeeded, 1);
    QCOMPARE(outcome.progress.last(), 100);
    QFile file(m_dir.filePath(QStringLiteral("FromPython/VX 200.vexabin")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
}

void TstDownloadThread::selfSignedServerNeedsVerificationOff_data()
{
    QTest::addColumn<bool>("verifyPeer");
    QTest::newRow("verified by default") << true;
    QTest::newRow("verification switched off") << false;
}

void TstDownloadThread::selfSignedServerNeedsVerificationOff()
{
    QFETCH(bool, verifyPeer);
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS library");

    HttpTestServer server(true);
    HttpRoute route;
    route.body = payload(3000);
    server.setRoute("/files/tls.vexabin", route);

    DownloadThread thread;
    if (!verifyPeer)
        thread.setVerifyPeer(false);
    const QString folder = m_dir.filePath(QStringLiteral("Tls"));
    const Outcome outcome = download(thread, server.url(QStringLiteral("/files/tls.vexabin")), folder);

    QVERIFY(server.url(QString()).startsWith(QLatin1String("https:")));
    QCOMPARE(outcome.succeeded, verifyPeer ? 0 : 1);
    QCOMPARE(outcome.errors.size(), verifyPeer ? 1 : 0);
    QCOMPARE(QFile::exists(QDir(folder).filePath(QStringLiteral("tls.vexabin"))), !verifyPeer);
    if (verifyPeer)
        QCOMPARE(outcome.errors.first(), QString::fromUtf8("下载异常: SSL handshake failed"));
}

QTEST_GUILESS_MAIN(TstDownloadThread)
#include "tst_downloadthread.moc"
