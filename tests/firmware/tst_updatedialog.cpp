#include "firmware/updatedialog.h"
#include "tests/support/meterlink.h"

#include "base/filedialogs.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "firmware/packagewriter.h"
#include "httptestserver.h"
#include "sim/firmwareresponder.h"
#include "sim/simrunner.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSslSocket>
#include <QTranslator>
#include <QtTest>

namespace {

QByteArray sampleImage(int size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 37 + (i >> 9)) & 0xFF);
    return image;
}

// A package whose stored digest does not belong to its content.
QString writeBadDigestPackage(const QString &path)
{
    const QByteArray content = serializePackageMap(
        packageMap(QStringLiteral("D"), QStringLiteral("V"), QStringLiteral("VX-200"), sampleImage(100)));
    const QByteArray digest = QCryptographicHash::hash(content + "x", QCryptographicHash::Md5);
    return writePackageDatabase(path, encodePackageText(content, digest));
}

QString site(const QString &path)
{
    return QStringLiteral("<html><body><div><div><div>名称</div><div>下载</div></div>%1</div></body></html>").arg(path);
}

QString siteRow(const QString &name, const QString &link)
{
    return QStringLiteral("<div><div>%1</div><div><a href=\"%2\">下载</a></div></div>").arg(name, link);
}

// The texts as the dialog shows them, also when a translation is loaded.
QString shown(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

template<class T> T *child(const UpdateDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// The user's steps: Select file, Download folder, and Download for a list
// entry, with the file dialogs answered through their seam.
void pickPackage(const UpdateDialog &dialog, const QString &path)
{
    setNextFileNames({ path });
    child<QPushButton>(dialog, "bntSelectFile")->click();
}

void chooseDownloadFolder(const UpdateDialog &dialog, const QString &folder)
{
    setNextFileNames({ folder });
    child<QPushButton>(dialog, "bntSelectPath")->click();
}

void downloadFrom(const UpdateDialog &dialog, const QString &link, const QString &folder)
{
    auto *combo = child<QComboBox>(dialog, "cmbFileList");
    combo->clear();
    combo->addItem(QStringLiteral("package"), link);
    chooseDownloadFolder(dialog, folder);
    child<QPushButton>(dialog, "bntDownload")->click();
}

void pointSettingsAtMeter(const SimRunner &meter)
{
    connectToMeter(meter, true);
}

// Screenshots for people, only when VEXA_SHOT_DIR is set: grabs the dialog
// and each message box (before the catcher answers it).
class Shots : public QObject
{
public:
    Shots(UpdateDialog &dialog, const QString &prefix)
        : m_dialog(dialog)
        , m_dir(qEnvironmentVariable("VEXA_SHOT_DIR"))
        , m_prefix(prefix)
    {
        if (m_dir.isEmpty())
            return;
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->isVisible() && !box->property("shot").toBool()) {
                box->setProperty("shot", true);
                take(QStringLiteral("box%1").arg(++m_boxes), box);
                take(QStringLiteral("behind-box%1").arg(m_boxes), &m_dialog);
            }
        });
        m_timer.start();
    }
    void take(const QString &name, QWidget *widget)
    {
        if (!m_dir.isEmpty())
            widget->grab().save(QDir(m_dir).filePath(m_prefix + name + QStringLiteral(".png")));
    }
    void take(const QString &name) { take(name, &m_dialog); }

private:
    UpdateDialog &m_dialog;
    QString m_dir;
    QString m_prefix;
    QTimer m_timer;
    int m_boxes = 0;
};

} // namespace

class TstUpdateDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void selectPackage_data();
    void selectPackage();
    void updateChecks_data();
    void updateChecks();
    void updateAgainstSimulatorRefusesClose();
    void updateAsksFirst_data();
    void updateAsksFirst();
    void failedPageOffersRestart_data();
    void failedPageOffersRestart();
    void refreshFillsSortedListOnce();
    void downloadChecks();
    void closeDuringDownloadStopsIt();
    void verifyPeerSetting_data();
    void verifyPeerSetting();
    void endToEndWithSiteSimulator();

private:
    TempWorkDir m_dir;
    QTranslator m_translator;
    QString m_good;
    QString m_badDigest;
    QString m_notPackage;
};

void TstUpdateDialog::initTestCase()
{
    const QString language = qEnvironmentVariable("VEXA_SHOT_LANG");
    if (!language.isEmpty() && m_translator.load(QStringLiteral(VEXA_QM_DIR "/") + language + QStringLiteral(".qm")))
        QCoreApplication::installTranslator(&m_translator);

    m_good = m_dir.filePath(QStringLiteral("good.vexabin"));
    QCOMPARE(writePackageFile(m_good, QStringLiteral("Vexa 流量计"), QStringLiteral("V1.03"), QStringLiteral("VX-200"),
                 sampleImage(24 * 1024 + 300)),
        QString());
    m_badDigest = m_dir.filePath(QStringLiteral("bad.vexabin"));
    QCOMPARE(writeBadDigestPackage(m_badDigest), QString());
    m_notPackage = m_dir.filePath(QStringLiteral("text.vexabin"));
    QVERIFY(m_dir.writeFile(QStringLiteral("text.vexabin"), "just some text\n"));
}

void TstUpdateDialog::selectPackage_data()
{
    QTest::addColumn<QStringList>("picks"); // in order; "" is a cancelled file dialog
    QTest::addColumn<QString>("device"); // after the last pick
    QTest::addColumn<bool>("updateEnabled");

    QTest::newRow("cancelled") << QStringList { QString() } << QString() << false;
    QTest::newRow("good") << QStringList { m_good } << QStringLiteral("Vexa 流量计") << true;
    QTest::newRow("bad digest") << QStringList { m_badDigest } << QString() << false;
    QTest::newRow("good, then bad digest") << QStringList { m_good, m_badDigest } << QString() << false;
    QTest::newRow("good, then cancelled") << QStringList { m_good, QString() } << QString() << false;
    QTest::newRow("not a package, then good")
        << QStringList { m_notPackage, m_good } << QStringLiteral("Vexa 流量计") << true;
}

void TstUpdateDialog::selectPackage()
{
    QFETCH(QStringList, picks);
    QFETCH(QString, device);
    QFETCH(bool, updateEnabled);

    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    QVERIFY(!child<QPushButton>(dialog, "bntUpdate")->isEnabled());
    for (const QString &pick : picks)
        pickPackage(dialog, pick);
    QCOMPARE(askedFiles().value(0).proposed, UpdateDialog::packageFolder());

    QCOMPARE(child<QLineEdit>(dialog, "edFilePath")->text(), picks.last());
    QCOMPARE(child<QLineEdit>(dialog, "edFilePath")->toolTip(), picks.last());
    QCOMPARE(child<QLineEdit>(dialog, "edDevice")->text(), device);
    QCOMPARE(child<QLineEdit>(dialog, "edVersion")->text(), device.isEmpty() ? QString() : QStringLiteral("V1.03"));
    QCOMPARE(child<QLineEdit>(dialog, "edType")->text(), device.isEmpty() ? QString() : QStringLiteral("VX-200"));
    QCOMPARE(child<QPushButton>(dialog, "bntUpdate")->isEnabled(), updateEnabled);
    QCoreApplication::processEvents();
    QCOMPARE(boxes.texts(), QStringList());
}

void TstUpdateDialog::updateChecks_data()
{
    // A good package is picked, then changed on disk before Update is pressed.
    QTest::addColumn<bool>("picked");
    QTest::addColumn<QString>("thenOnDisk"); // "gone", "folder" or a file copied over it
    QTest::addColumn<QString>("message");

    // Nothing picked: the button stays off and nothing is said.
    QTest::newRow("no file") << false << QString() << QString();
    QTest::newRow("missing file") << true << QStringLiteral("gone") << QStringLiteral("更新失败,文件不存在或拒绝访问!");
    QTest::newRow("folder") << true << QStringLiteral("folder") << QStringLiteral("更新失败,文件不存在或拒绝访问!");
    QTest::newRow("bad digest") << true << m_badDigest << QStringLiteral("解析文件失败,文件校验失败!");
    // Burning nothing would erase the instrument's program for nothing.
    const QString noImage = m_dir.filePath(QStringLiteral("noimage.vexabin"));
    writePackageFile(noImage, QStringLiteral("D"), QStringLiteral("V"), QStringLiteral("VX-200"), QByteArray());
    QTest::newRow("no image") << true << noImage << QStringLiteral("固件更新失败,文件中没有固件数据!");
}

void TstUpdateDialog::updateChecks()
{
    QFETCH(bool, picked);
    QFETCH(QString, thenOnDisk);
    QFETCH(QString, message);

    const QString path = m_dir.filePath(QStringLiteral("picked.vexabin"));
    QDir(path).removeRecursively();
    QFile::remove(path);
    QVERIFY(QFile::copy(m_good, path));
    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    pickPackage(dialog, picked ? path : QString());
    QFile::remove(path);
    if (thenOnDisk == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (thenOnDisk != QLatin1String("gone"))
        QVERIFY(QFile::copy(picked ? thenOnDisk : m_good, path));
    child<QPushButton>(dialog, "bntUpdate")->click();
    QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList { message });
    QVERIFY(!dialog.updateThread().isRunning());
}

void TstUpdateDialog::updateAgainstSimulatorRefusesClose()
{
    SimRunner meter;
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    meter.addFault(QStringLiteral("delay,match=tilde,command=2FAC,delay=1500"));
    meter.addFault(QStringLiteral("delay,match=tilde,command=2A79,delay=700"));
    pointSettingsAtMeter(meter);

    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    dialog.show();
    auto *bar = child<QProgressBar>(dialog, "barUpdate");
    int highest = 0;
    // The bar goes back to 0 only after the success box was answered.
    QStringList boxesAtReset;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        highest = qMax(highest, value);
        if (value == 0 && highest > 0)
            boxesAtReset = boxes.texts();
    });

    pickPackage(dialog, m_good);
    setNextAnswers({ true });
    child<QPushButton>(dialog, "bntUpdate")->click();
    QTRY_VERIFY(!child<QPushButton>(dialog, "bntSelectFile")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "bntUpdate")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "bntDownload")->isEnabled());

    // Both ways out are refused while the meter erases.
    QVERIFY(!dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(boxes.texts(),
        (QStringList {
            QStringLiteral("正在更新固件,请等待更新完成!"), QStringLiteral("正在更新固件,请等待更新完成!") }));
    QVERIFY(dialog.updateThread().isRunning());

    // A slow finish is said on the bar, and the bar is plain again afterwards.
    QTRY_VERIFY_WITH_TIMEOUT(bar->isTextVisible(), 20000);
    QCOMPARE(bar->text(), QStringLiteral("正在结束更新…"));
    QVERIFY(dialog.updateThread().isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.updateThread().isRunning(), 20000);
    QTRY_COMPARE(boxes.texts().size(), 3);
    QTRY_VERIFY(!bar->isTextVisible());
    QCOMPARE(boxes.texts().last(), QStringLiteral("固件更新成功!\n更新后设备已应答"));
    QTRY_VERIFY(child<QPushButton>(dialog, "bntSelectFile")->isEnabled());
    QVERIFY(highest >= 90);
    QCOMPARE(boxesAtReset, boxes.texts());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(SimFirmwareRecord::fromState(meter.state()).image, sampleImage(24 * 1024 + 300));
    QVERIFY(child<QPushButton>(dialog, "bntUpdate")->isEnabled());
    QVERIFY(dialog.close());
}

void TstUpdateDialog::updateAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

// The question names the package and where it goes; No sends nothing.
void TstUpdateDialog::updateAsksFirst()
{
    QFETCH(bool, answer);
    SimRunner meter;
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    pointSettingsAtMeter(meter);
    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    pickPackage(dialog, m_good);
    setNextAnswers({ answer });
    child<QPushButton>(dialog, "bntUpdate")->click();
    QCOMPARE(askedQuestions(),
        QStringList { QStringLiteral("确认烧写以下固件？\n设备：Vexa 流量计\n版本：V1.03\n型号：VX-200\n连接：UDP "
                                     "127.0.0.1:%1 · 地址 %2")
                          .arg(meter.udpPort())
                          .arg(meter.address()) });
    if (answer) {
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.updateThread().isRunning() && boxes.texts().size() == 1, 20000);
        QCOMPARE(boxes.texts(), QStringList { QStringLiteral("固件更新成功!\n更新后设备已应答") });
    } else {
        QTest::qWait(200);
        QVERIFY(!dialog.updateThread().isRunning());
        QCOMPARE(meter.receivedRequests().size(), 0);
        QCOMPARE(boxes.texts(), QStringList());
    }
}

void TstUpdateDialog::failedPageOffersRestart_data()
{
    QTest::addColumn<bool>("again");
    QTest::newRow("start again") << true;
    QTest::newRow("close") << false;
}

// A refused page leaves the meter erased; "重新开始" runs the whole update
// again at once, without a second confirmation, and both runs are journaled.
void TstUpdateDialog::failedPageOffersRestart()
{
    QFETCH(bool, again);
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    meter.addFault(QStringLiteral("bad-crc,match=tilde,command=2C01,after=3"));
    pointSettingsAtMeter(meter);
    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    pickPackage(dialog, m_good);
    setNextAnswers({ true, again });
    child<QPushButton>(dialog, "bntUpdate")->click();
    QTRY_COMPARE_WITH_TIMEOUT(askedQuestions().size(), 2, 20000);
    QCOMPARE(askedQuestions().last(),
        QStringLiteral("固件更新失败,发送文件数据失败!\n设备中的固件已被擦除，需要重新更新固件。"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.updateThread().isRunning() && child<QPushButton>(dialog, "bntUpdate")->isEnabled()
            && boxes.texts().size() == (again ? 1 : 0),
        20000);
    const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
    QCOMPARE(record.eraseCount, again ? 2 : 1);
    QCOMPARE(record.holdsImage(sampleImage(24 * 1024 + 300)), again);
    if (again)
        QCOMPARE(boxes.texts(), QStringList { QStringLiteral("固件更新成功!\n更新后设备已应答") });
    const QString journal = QString::fromUtf8(dir.readFile(QStringLiteral("journal.csv")));
    QCOMPARE(journal.count(QStringLiteral(",firmware,,VX-200 V1.03,,started,")), again ? 2 : 1);
    QCOMPARE(journal.count(QStringLiteral(",firmware,,VX-200 V1.03,,ok,")), again ? 1 : 0);
    QVERIFY(journal.contains(QStringLiteral(",firmware,,VX-200 V1.03,,\"固件更新失败,发送文件数据失败!\",")));
}

void TstUpdateDialog::refreshFillsSortedListOnce()
{
    HttpTestServer server;
    HttpRoute slow;
    slow.body = site(siteRow(QStringLiteral("VX-300"), QStringLiteral("http://h/3"))
        + siteRow(QStringLiteral("VX-100"), QStringLiteral("http://h/1"))
        + siteRow(QStringLiteral("VX-200"), QStringLiteral("http://h/2")))
                    .toUtf8();
    slow.chunkSize = 40;
    slow.chunkIntervalMs = 30;
    server.setRoute("/down.html", slow);
    appSettings()->setValue(QStringLiteral("update/page_url"), server.url(QStringLiteral("/down.html")));

    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    auto *combo = child<QComboBox>(dialog, "cmbFileList");
    auto *refresh = child<QPushButton>(dialog, "bntRefresh");
    refresh->click();
    refresh->click();
    QTRY_VERIFY(!combo->isEnabled());
    QCOMPARE(combo->count(), 0);
    QVERIFY(!refresh->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(combo->isEnabled(), 10000);

    QStringList names;
    QStringList links;
    for (int i = 0; i < combo->count(); ++i) {
        names << combo->itemText(i);
        links << combo->itemData(i).toString();
    }
    QCOMPARE(names, (QStringList { "VX-100", "VX-200", "VX-300" }));
    QCOMPARE(links, (QStringList { "http://h/1", "http://h/2", "http://h/3" }));
    QCOMPARE(server.requestCount(), 1);
    QCOMPARE(boxes.texts(), QStringList());

    // A failed fetch says so once and gives the controls back.
    appSettings()->setValue(QStringLiteral("update/page_url"), server.url(QStringLiteral("/missing.html")));
    refresh->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList { QStringLiteral("获取设备列表失败,请重试!") }, 10000);
    QTRY_VERIFY(refresh->isEnabled());
}

void TstUpdateDialog::downloadChecks()
{
    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    auto *download = child<QPushButton>(dialog, "bntDownload");
    download->click();
    chooseDownloadFolder(dialog, m_dir.filePath(QStringLiteral("Files")));
    download->click();

    auto *combo = child<QComboBox>(dialog, "cmbFileList");
    combo->addItem(QStringLiteral("VX-100"), QStringLiteral("http://127.0.0.1:1/VX-100.vexabin"));
    // A cancelled folder dialog keeps the folder chosen before.
    chooseDownloadFolder(dialog, QString());
    QCOMPARE(child<QLineEdit>(dialog, "edDownloadDir")->text(), m_dir.filePath(QStringLiteral("Files")));

    QCOMPARE(boxes.texts(), (QStringList { QStringLiteral("请选择设备类型!"), QStringLiteral("请选择设备类型!") }));
    QVERIFY(!dialog.downloadThread().isRunning());

    // A file of that name is there: asked first, and kept unless the user says so.
    HttpTestServer server;
    server.setRoute("/VX-100.vexabin", HttpRoute { "200 OK", "new" });
    QDir().mkpath(m_dir.filePath(QStringLiteral("Files")));
    QVERIFY(m_dir.writeFile(QStringLiteral("Files/VX-100.vexabin"), "old"));
    boxes.setAnswer(QMessageBox::No);
    downloadFrom(dialog, server.url(QStringLiteral("/VX-100.vexabin")), m_dir.filePath(QStringLiteral("Files")));
    QVERIFY(!dialog.downloadThread().isRunning());
    QCOMPARE(boxes.boxes().last().text, QStringLiteral("文件 VX-100.vexabin 已存在,是否替换?"));
    QCOMPARE(boxes.boxes().last().okText, QStringLiteral("取消"));
    QCOMPARE(server.requestCount(), 0);
    boxes.setAnswer(QMessageBox::Yes);
    QSignalSpy saved(&SavedFileNotice::instance(), &SavedFileNotice::saved);
    downloadFrom(dialog, server.url(QStringLiteral("/VX-100.vexabin")), m_dir.filePath(QStringLiteral("Files")));
    QVERIFY(dialog.downloadThread().wait(10000));
    QTRY_COMPARE(boxes.texts().last(), QStringLiteral("文件下载成功!"));
    // The main window's status bar says where it went.
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.first().first().toString(), m_dir.filePath(QStringLiteral("Files/VX-100.vexabin")));
    QCOMPARE(boxes.boxes().size(), 5);
    QFile replaced(m_dir.filePath(QStringLiteral("Files/VX-100.vexabin")));
    QVERIFY(replaced.open(QIODevice::ReadOnly));
    QCOMPARE(replaced.readAll(), QByteArray("new"));
}

void TstUpdateDialog::closeDuringDownloadStopsIt()
{
    HttpTestServer server;
    HttpRoute stalled;
    stalled.body = sampleImage(80000);
    stalled.sendBytes = 20000;
    stalled.hold = true;
    server.setRoute("/files/big.vexabin", stalled);

    ModalBoxCatcher boxes;
    boxes.setAnswer(QMessageBox::Yes);
    const QString folder = m_dir.filePath(QStringLiteral("Closing"));
    QDir().mkpath(folder);
    QVERIFY(m_dir.writeFile(QStringLiteral("Closing/big.vexabin"), "old"));
    {
        UpdateDialog dialog;
        dialog.show();
        downloadFrom(dialog, server.url(QStringLiteral("/files/big.vexabin")), folder);
        QTRY_COMPARE_WITH_TIMEOUT(child<QProgressBar>(dialog, "barDownload")->value(), 25, 5000);
        QVERIFY(dialog.close());
        QVERIFY(!dialog.downloadThread().isRunning());
    }
    // The replace question only; the old file stays as it was.
    QCOMPARE(boxes.texts().size(), 1);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("big.vexabin") });
    QFile old(QDir(folder).filePath(QStringLiteral("big.vexabin")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

void TstUpdateDialog::verifyPeerSetting_data()
{
    QTest::addColumn<QVariant>("setting");
    QTest::addColumn<QString>("message");
    QTest::newRow("not set") << QVariant() << QStringLiteral("下载异常: SSL handshake failed");
    QTest::newRow("true") << QVariant(true) << QStringLiteral("下载异常: SSL handshake failed");
    QTest::newRow("false") << QVariant(false) << QStringLiteral("文件下载成功!");
}

void TstUpdateDialog::verifyPeerSetting()
{
    QFETCH(QVariant, setting);
    QFETCH(QString, message);
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS library");

    HttpTestServer server(true);
    server.setRoute("/files/tls.vexabin", HttpRoute { "200 OK", "package bytes" });
    if (setting.isValid())
        appSettings()->setValue(QStringLiteral("update/verify_peer"), setting);
    else
        appSettings()->remove(QStringLiteral("update/verify_peer"));
    auto reset = qScopeGuard([] { appSettings()->remove(QStringLiteral("update/verify_peer")); });

    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    downloadFrom(dialog, server.url(QStringLiteral("/files/tls.vexabin")), m_dir.filePath(QStringLiteral("Tls")));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList { message }, 10000);
}

void TstUpdateDialog::endToEndWithSiteSimulator()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    const bool shooting = qEnvironmentVariableIsSet("VEXA_SHOT_DIR");

    QProcess site;
    site.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments { QStringLiteral(VEXA_SOURCE_DIR "/scripts/vexa-site-sim"), QStringLiteral("--port"),
        QStringLiteral("0"), QStringLiteral("--root"), m_dir.filePath(QStringLiteral("site")), QStringLiteral("--demo"),
        QStringLiteral("--pack"), QStringLiteral(VEXA_BIN_DIR "/vexa-pack") };
    if (shooting)
        arguments << QStringLiteral("--rate") << QStringLiteral("8000");
    site.start(python, arguments);
    auto cleanup = qScopeGuard([&site] {
        site.terminate();
        if (!site.waitForFinished(3000))
            site.kill();
        site.waitForFinished(3000);
    });
    QString pageUrl;
    while (site.canReadLine() || site.waitForReadyRead(10000)) {
        const QByteArray line = site.readLine().trimmed();
        if (line.startsWith("site "))
            pageUrl = QString::fromUtf8(line.mid(5));
        if (line == "ready")
            break;
    }
    QVERIFY2(!pageUrl.isEmpty(), "the site simulator did not start");
    appSettings()->setValue(QStringLiteral("update/page_url"), pageUrl);

    SimRunner meter;
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    pointSettingsAtMeter(meter);

    ModalBoxCatcher boxes;
    UpdateDialog dialog;
    Shots shots(dialog, QStringLiteral("update-"));
    dialog.show();
    auto *combo = child<QComboBox>(dialog, "cmbFileList");
    child<QPushButton>(dialog, "bntRefresh")->click();
    QTRY_COMPARE_WITH_TIMEOUT(combo->count(), 3, 10000);
    QCOMPARE(combo->itemText(0), QStringLiteral("VX-200 V1.02"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("VX-200 V1.03")));

    // Downloads go to the package folder unless another one is chosen.
    const QString folder = UpdateDialog::packageFolder();
    QCOMPARE(child<QLineEdit>(dialog, "edDownloadDir")->text(), folder);
    QVERIFY(QFileInfo(folder).isDir());
    child<QPushButton>(dialog, "bntDownload")->click();
    if (shooting) {
        QTRY_VERIFY_WITH_TIMEOUT(child<QProgressBar>(dialog, "barDownload")->value() >= 40, 10000);
        shots.take(QStringLiteral("downloading"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList { shown("UpdateDialog", "文件下载成功!") }, 20000);
    const QString package = QDir(folder).filePath(QStringLiteral("VX-200_V1.03.vexabin"));
    QVERIFY(QFileInfo(package).isFile());

    // The download is offered as the package to flash.
    QTRY_COMPARE(child<QLineEdit>(dialog, "edFilePath")->text(), package);
    QCOMPARE(child<QLineEdit>(dialog, "edVersion")->text(), QStringLiteral("V1.03"));
    QCOMPARE(child<QLineEdit>(dialog, "edType")->text(), QStringLiteral("VX-200"));
    setNextAnswers({ true });
    child<QPushButton>(dialog, "bntUpdate")->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts().size(), 2, 20000);
    QCOMPARE(boxes.texts().last(),
        shown("UpdateDialog", "固件更新成功!") + QLatin1Char('\n') + shown("UpdateThread", "更新后设备已应答"));
    QTRY_VERIFY(child<QPushButton>(dialog, "bntUpdate")->isEnabled());
    shots.take(QStringLiteral("updated"));
}

QTEST_MAIN(TstUpdateDialog)
#include "tst_updatedialog.moc"
