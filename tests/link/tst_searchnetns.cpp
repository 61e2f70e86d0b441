// The real search: broadcast on every interface, answered by vexa-meter-sim
// processes on port 1500. It runs only inside a network namespace of its own
// (entered before anything else starts), where the loopback is the only
// interface and 127.255.255.255 its broadcast address, so nothing leaves the
// machine.

#include "base/settings.h"
#include "link/dsearchdevicethread.h"
#include "link/searchdevicedialog.h"
#include "link/serialportnames.h"
#include "link/setupdialog.h"
#include "sim/simprofile.h"
#include "tests/support/privatenetwork.h"
#include "tests/support/tempworkdir.h"
#include "tests/support/childwidget.h"

#include <QApplication>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

QString g_namespaceError = QStringLiteral("not entered");

// Only the loopback may be up, and the search must go to its broadcast only.
QString isolationProblem()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const bool loopback = interface.flags() & QNetworkInterface::IsLoopBack;
        if (!loopback && ((interface.flags() & QNetworkInterface::IsUp) || !interface.addressEntries().isEmpty()))
            return QStringLiteral("interface %1 is up or has addresses").arg(interface.name());
    }
    const QList<QHostAddress> targets = DSearchDeviceThread::broadcastTargets();
    if (targets != QList<QHostAddress> { QHostAddress(QStringLiteral("127.255.255.255")) })
        return QStringLiteral("unexpected search targets");
    return {};
}

// One vexa-meter-sim process answering searches; its meters' UDP ports.
class SimProcess
{
public:
    explicit SimProcess(const QStringList &profiles)
    {
        QStringList arguments { QStringLiteral("--search") };
        for (const QString &profile : profiles)
            arguments << QStringLiteral("--profile") << profile;
        m_process.start(QStringLiteral(VEXA_BIN_DIR "/vexa-meter-sim"), arguments);
        QByteArray output;
        while (!output.contains("ready\n") && m_process.waitForReadyRead(5000))
            output += m_process.readAllStandardOutput();
        for (const QByteArray &line : output.split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "udp")
                m_ports << quint16(words[2].toUInt());
        }
        m_ready = output.contains("ready\n");
    }
    ~SimProcess()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool isReady() const { return m_ready; }
    QList<quint16> ports() const { return m_ports; }
    // What the simulator said on stderr besides where each meter answers.
    QByteArray errors()
    {
        QByteArray said;
        for (const QByteArray &line : m_process.readAllStandardError().split('\n')) {
            if (!line.isEmpty() && !line.contains(" at device address "))
                said += line + '\n';
        }
        return said;
    }

private:
    QProcess m_process;
    QList<quint16> m_ports;
    bool m_ready = false;
};

// A profile file: the demo meter with its own address and search reply
// (no reply: the meter builds its default line).
QString writeProfile(const TempWorkDir &dir, const QString &name, int address, const QString &reply)
{
    QJsonObject json = QJsonDocument::fromJson(SimProfile::demoJson()).object();
    json.insert("address", address);
    QJsonObject search;
    if (!reply.isNull())
        search.insert("reply", reply);
    json.insert("search", search);
    dir.writeFile(name, QJsonDocument(json).toJson());
    return dir.filePath(name);
}

} // namespace

class TstSearchNetns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!g_namespaceError.isEmpty()) {
            const QByteArray why = "no network namespace (" + g_namespaceError.toLocal8Bit() + ")";
            if (::geteuid() == 0)
                QFAIL(why.constData());
            QSKIP(QByteArray(why + "; the broadcast search runs only as root").constData());
        }
        const QString problem = isolationProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void init()
    {
        // Checked again right before every search: never broadcast outside.
        QVERIFY(isolationProblem().isEmpty());
        m_dir = std::make_unique<TempWorkDir>();
        setSerialPortNamesSource([] { return QStringList(); });
    }
    void cleanup()
    {
        singleton<Config>::release();
        setSerialPortNamesSource({});
        m_dir.reset();
    }

    void setupTakesOverTheMeterFound()
    {
        SimProcess meter({});
        QVERIFY(meter.isReady());
        QCOMPARE(meter.ports().size(), 1);

        SetupDialog dialog;
        dialog.show();
        child<QGroupBox>(dialog, "gbUdp")->setChecked(true);
        QStringList listed;
        QTimer::singleShot(0, this, [&] {
            auto *search = qobject_cast<SearchDeviceDialog *>(QApplication::activeModalWidget());
            if (!search)
                return;
            auto *list = child<QListWidget>(*search, "listWidget");
            auto *ok = child<QPushButton>(*search, "bntOk");
            child<QPushButton>(*search, "bntSearch")->click();
            // A search that never starts or ends leaves the list empty; the test's checks report it.
            if (QTest::qWaitFor([&] { return search->isSearching(); }, 2000))
                (void)QTest::qWaitFor([&] { return !search->isSearching() && ok->isEnabled(); }, 10000);
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            list->setCurrentRow(0);
            ok->click();
            if (search->isVisible())
                search->done(QDialog::Rejected);
        });
        child<QPushButton>(dialog, "bntSearch")->click();
        QCOMPARE(listed,
            QStringList { QStringLiteral("VX-200 智能流量积算仪 地址255  (127.0.0.1:%1)").arg(meter.ports().first()) });
        QCOMPARE(child<QLineEdit>(dialog, "edUdpAddress")->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(child<QLineEdit>(dialog, "edUdpPort")->text(), QString::number(meter.ports().first()));

        child<QPushButton>(dialog, "ok")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(appSettings()->value("udp/address").toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(appSettings()->value("udp/port").toString(), QString::number(meter.ports().first()));
        QCOMPARE(appSettings()->value("communicate/udp").toInt(), 1);
    }

    void everyMeterOnThePortAnswers()
    {
        // Two meters in one process and one in another all share port 1500.
        SimProcess pair({ writeProfile(*m_dir, "a.json", 1, QStringLiteral("VX-200 一号表")),
            writeProfile(*m_dir, "b.json", 2, QStringLiteral("VX-300 二号表")) });
        SimProcess single({ writeProfile(*m_dir, "c.json", 3, QString()) });
        QVERIFY(pair.isReady() && single.isReady());
        QCOMPARE(pair.ports().size(), 2);
        QCOMPARE(single.ports().size(), 1);

        SearchDeviceDialog dialog;
        dialog.show();
        QElapsedTimer timer;
        timer.start();
        child<QPushButton>(dialog, "bntSearch")->click();
        QTRY_VERIFY(dialog.isSearching());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isSearching() && child<QPushButton>(dialog, "bntOk")->isEnabled(), 10000);
        // One target, and the last reply is followed by the 3 s quiet window.
        QVERIFY(timer.elapsed() >= 3000);

        auto *list = child<QListWidget>(dialog, "listWidget");
        const QString defaultLine
            = QStringLiteral("型号:VX-200 名称:VX-200 智能流量积算仪 地址:3 端口:%1").arg(single.ports().first());
        const QMap<QString, quint16> expected { { "VX-200 一号表", pair.ports().at(0) },
            { "VX-300 二号表", pair.ports().at(1) }, { defaultLine, single.ports().first() } };
        QStringList listed;
        for (int i = 0; i < list->count(); ++i) {
            // The meter's words, then where it answered from.
            const QString text = list->item(i)->text();
            listed << text.section(QStringLiteral("  (127.0.0.1:"), 0, 0);
            QVERIFY2(text.endsWith(QStringLiteral(":%1)").arg(expected.value(listed.last()))), qPrintable(text));
        }
        listed.sort();
        QCOMPARE(listed, expected.keys());

        // Each line leads to the exchange port of the meter that sent it.
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentRow(i);
            dialog.slotCommit();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.selectedPort(),
                expected.value(list->item(i)->text().section(QStringLiteral("  (127.0.0.1:"), 0, 0)));
            QVERIFY(dialog.selectedAddress().isEqual(QHostAddress::LocalHost, QHostAddress::TolerantConversion));
        }
        QVERIFY2(pair.errors().isEmpty(), "the search port could not be shared");
    }

    void screenshots()
    {
        const QString out = qEnvironmentVariable("VEXA_SCREENSHOT_DIR");
        if (out.isEmpty())
            QSKIP("set VEXA_SCREENSHOT_DIR to render the dialogs");
        SimProcess meters({ writeProfile(*m_dir, "a.json", 1, QStringLiteral("VX-200 智能流量积算仪 地址1")),
            writeProfile(*m_dir, "b.json", 2, QString()) });
        QVERIFY(meters.isReady());
        appSettings()->setValue("serial/port", "COM3");
        for (const QString language : { "zh_CN", "en_US", "zh_TW" }) {
            QTranslator translator;
            if (language != QLatin1String("zh_CN")) {
                QVERIFY(translator.load(QStringLiteral(VEXA_QM_DIR "/") + language + ".qm"));
                qApp->installTranslator(&translator);
            }
            SetupDialog setup;
            setup.show();
            QVERIFY(setup.grab().save(out + "/setup_" + language + ".png"));
            SearchDeviceDialog search;
            search.show();
            child<QPushButton>(search, "bntSearch")->click();
            QTRY_VERIFY(search.isSearching());
            QTRY_VERIFY_WITH_TIMEOUT(!search.isSearching() && child<QPushButton>(search, "bntOk")->isEnabled(), 10000);
            child<QListWidget>(search, "listWidget")->setCurrentRow(0);
            QVERIFY(search.grab().save(out + "/search_" + language + ".png"));
            qApp->removeTranslator(&translator);
        }
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

int main(int argc, char *argv[])
{
    // Before the application object: unshare needs a single-threaded process.
    g_namespaceError = enterPrivateNetwork();
    QApplication app(argc, argv);
    TstSearchNetns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_searchnetns.moc"
