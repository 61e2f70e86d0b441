// The meters panel against simulated meters on loopback UDP. Searches go to
// loopback only, inside a network namespace of the suite's own where it can
// be had.

#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "base/messageboxes.h"
#include "base/settings.h"
#include "base/translationlookup.h"
#include "firmware/firmwareupdate.h"
#include "firmware/packagewriter.h"
#include "fleet/metereditor.h"
#include "fleet/meterspanel.h"
#include "items/itemcsv.h"
#include "items/itemsession.h"
#include "link/dsearchdevicethread.h"
#include "sim/firmwareresponder.h"
#include "sim/searchresponder.h"
#include "tests/support/meterlink.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/privatenetwork.h"
#include "tests/support/tempworkdir.h"
#include "tests/support/childwidget.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QTranslator>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

SimProfile profileOf(const QString &model)
{
    SimProfile profile = SimProfile::demo();
    profile.model = model;
    profile.items[1].value = model;
    // The firmware side names the profile's model too.
    profile.raw.remove(QStringLiteral("firmware"));
    return profile;
}

QString cell(MetersPanel &panel, int row, int column)
{
    QTableWidgetItem *item = child<QTableWidget>(panel, "meterTable")->item(row, column);
    return item ? item->text() : QString();
}

int rowOf(MetersPanel &panel, const QString &name)
{
    auto *table = child<QTableWidget>(panel, "meterTable");
    for (int row = 0; row < table->rowCount(); ++row) {
        if (cell(panel, row, MetersPanel::Name) == name)
            return row;
    }
    return -1;
}

void select(MetersPanel &panel, const QStringList &names)
{
    auto *table = child<QTableWidget>(panel, "meterTable");
    table->clearSelection();
    for (const QString &name : names) {
        const int row = rowOf(panel, name);
        QVERIFY2(row >= 0, qPrintable(name));
        table->selectionModel()->select(
            table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QByteArray firmwareImage()
{
    QByteArray image(3000, Qt::Uninitialized);
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7);
    return image;
}

QString summary(MetersPanel &panel)
{
    return child<QLabel>(panel, "lbSummary")->text();
}

int indexOfItem(const SimRunner &meter, const QString &prefix)
{
    const QList<SimItem> items = meter.items();
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).name.startsWith(prefix))
            return i;
    }
    return -1;
}

// Simulated meters and a meters.txt naming them pump1, pump2, ...
struct Fleet
{
    explicit Fleet(const QStringList &models)
    {
        QByteArray file;
        for (int i = 0; i < models.size(); ++i) {
            meters.emplace_back(std::make_unique<SimRunner>(profileOf(models.at(i))));
            const SimRunner &meter = *meters.back();
            file += QStringLiteral("pump%1,udp://127.0.0.1:%2?address=%3\n")
                        .arg(i + 1)
                        .arg(meter.udpPort())
                        .arg(meter.address())
                        .toUtf8();
        }
        dir.writeFile(QStringLiteral("meters.txt"), file);
    }
    TempWorkDir dir;
    std::vector<std::unique_ptr<SimRunner>> meters;
};

} // namespace

class TstMetersPanel : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DSearchDeviceThread::clearRouteOverride(); }

    // Lines the program cannot read are rows that say why and stay in the
    // file; a meter added in the editor joins them, and made current it is
    // the window's connection.
    void addAndSetCurrent()
    {
        TempWorkDir dir;
        const QByteArray kept = "pump1,udp://127.0.0.1:47800?address=1\n# plant B\n"
                                "a,tcp://1.2.3.4:5\npump1,udp://127.0.0.1:9?address=1\n"
                                "../x,udp://127.0.0.1:9\nb,udp://255.255.255.255:9\n";
        dir.writeFile(QStringLiteral("meters.txt"), kept);
        storeLinkSettings(LinkSettings::overUdp(QStringLiteral("127.0.0.1"), 47900, 7));
        MainWindow window;
        window.show();
        QAction *action = window.findChild<QAction *>(QStringLiteral("actionMeters"));
        QVERIFY(action);
        QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL + Qt::Key_M));
        action->trigger();
        MetersPanel &panel = *window.metersPanel();
        QCOMPARE(panel.objectName(), QStringLiteral("metersDialog"));
        QVERIFY(panel.isVisible());
        QVERIFY(!panel.isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        auto *table = child<QTableWidget>(panel, "meterTable");
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->selectionMode(), QAbstractItemView::ExtendedSelection);
        const QStringList problems { "无法识别: 无法识别的目标: tcp://1.2.3.4:5", "无法识别: 名称pump1重复出现",
            "无法识别: 名称应为字母、数字、点、横线或下划线" };
        for (int row = 1; row <= 3; ++row)
            QCOMPARE(cell(panel, row, MetersPanel::Status), problems.at(row - 1));
        QVERIFY(cell(panel, 4, MetersPanel::Status).startsWith("无法识别: "));
        QCOMPARE(cell(panel, 0, MetersPanel::Connection), QStringLiteral("udp 127.0.0.1:47800"));

        // The editor: the setup dialog's fields, filled with the current connection.
        QString prefilled;
        QTimer::singleShot(0, [&] {
            QWidget *editor = QApplication::activeModalWidget();
            QVERIFY(editor);
            QCOMPARE(editor->objectName(), QStringLiteral("meterEditor"));
            QVERIFY(child<QGroupBox>(*editor, "gbUdp")->isChecked());
            prefilled = child<QLineEdit>(*editor, "edUdpAddress")->text() + ":"
                + child<QLineEdit>(*editor, "edUdpPort")->text() + " "
                + child<QComboBox>(*editor, "cmbDeviceAddress")->currentText();
            child<QLineEdit>(*editor, "edMeterName")->setText("pump2");
            child<QLineEdit>(*editor, "edUdpPort")->setText("47801");
            child<QPushButton>(*editor, "ok")->click();
        });
        child<QPushButton>(panel, "bntAdd")->click();
        QCOMPARE(prefilled, QStringLiteral("127.0.0.1:47900 7"));
        QCOMPARE(dir.readFile("meters.txt"), kept + "pump2,udp://127.0.0.1:47801?address=7\n");
        QCOMPARE(cell(panel, 5, MetersPanel::Name), QStringLiteral("pump2"));

        select(panel, { "pump1" });
        child<QPushButton>(panel, "bntSetCurrent")->click();
        QCOMPARE(storedLinkSettings().targetText(), QStringLiteral("UDP 127.0.0.1:47800 · 地址 1"));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("connectionLabel"))->text(),
            QStringLiteral("UDP 127.0.0.1:47800 · 地址 1"));

        select(panel, { "pump2" });
        child<QPushButton>(panel, "bntRemove")->click();
        QCOMPARE(dir.readFile("meters.txt"), kept);
    }

    // Ten thousand lines: past the most meters a file may hold every line is
    // still a row, none is lost when the file is saved again.
    void tenThousandLines()
    {
        TempWorkDir dir;
        QByteArray file;
        for (int i = 0; i < 10000; ++i)
            file += QStringLiteral("m%1,udp://127.0.0.1:%2?address=1\n").arg(i).arg(1000 + i).toUtf8();
        dir.writeFile("meters.txt", file);
        QElapsedTimer timer;
        timer.start();
        MetersPanel panel;
        panel.show();
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(child<QTableWidget>(panel, "meterTable")->rowCount(), 10000);
        QCOMPARE(cell(panel, 9999, MetersPanel::Status), QStringLiteral("无法识别: 最多4096台设备"));
        select(panel, { "m0" });
        child<QPushButton>(panel, "bntRemove")->click();
        QCOMPARE(dir.readFile("meters.txt"), file.mid(file.indexOf('\n') + 1));
    }

    // Each meter found is a row named after its address until it is saved.
    void searchAndSave()
    {
        TempWorkDir dir;
        SimProfile profile = SimProfile::demo();
        enableSearchResponder(profile, 0);
        SimRunner meter(profile);
        quint16 searchPort = 0;
        meter.call([&](MeterSim &sim) { searchPort = sim.responder<SearchResponder>()->searchPort(); });
        DSearchDeviceThread::setRouteOverride({ { QHostAddress(QStringLiteral("127.0.0.1")) }, searchPort, 300 });
        MetersPanel panel;
        panel.show();
        auto *search = child<QPushButton>(panel, "bntSearch");
        search->click();
        QTRY_VERIFY(panel.searchThread()->isFinished());
        QTRY_VERIFY(search->isEnabled());
        const int row = rowOf(panel, "127.0.0.1");
        QVERIFY(row >= 0);
        QCOMPARE(cell(panel, row, MetersPanel::Status), QStringLiteral("未保存"));
        QCOMPARE(cell(panel, row, MetersPanel::Address), QString::number(meter.address()));
        QCOMPARE(dir.readFile("meters.txt"), QByteArray());
        // Found again: still one row.
        search->click();
        QTRY_VERIFY(panel.searchThread()->isFinished());
        QCOMPARE(child<QTableWidget>(panel, "meterTable")->rowCount(), 1);

        select(panel, { "127.0.0.1" });
        child<QPushButton>(panel, "bntSave")->click();
        QCOMPARE(dir.readFile("meters.txt"),
            QStringLiteral("127.0.0.1,udp://127.0.0.1:%1?address=%2\n")
                .arg(meter.udpPort())
                .arg(meter.address())
                .toUtf8());
        QCOMPARE(cell(panel, 0, MetersPanel::Status), QString());
    }

    // Each meter's list into the folder chosen, the model from its rows;
    // then the clock of both, journaled.
    void readAndClock()
    {
        Fleet fleet({ "VX-200", "VX-300" });
        MetersPanel panel;
        panel.show();
        select(panel, { "pump1", "pump2" });
        const QString folder = fleet.dir.filePath("out");
        setNextFileNames({ folder });
        child<QPushButton>(panel, "bntRead")->click();
        QVERIFY(askedFiles().last().proposed.startsWith(fleet.dir.filePath("readings/")));
        QCOMPARE(summary(panel), QStringLiteral("完成 2 台，失败 0 台，跳过 0 台"));
        for (int i = 0; i < 2; ++i) {
            const ItemImport read = importItems(
                QDir(folder).filePath(QStringLiteral("pump%1.csv").arg(i + 1)), IdentificationValues::Keep);
            QCOMPARE(read.error, QString());
            QCOMPARE(read.records.size(), fleet.meters.at(i)->items().size());
            QCOMPARE(cell(panel, i, MetersPanel::Model), i == 0 ? QStringLiteral("VX-200") : QStringLiteral("VX-300"));
            QVERIFY(!cell(panel, i, MetersPanel::LastContact).isEmpty());
        }
        // The proposed folder was not taken and is gone again.
        QCOMPARE(QDir(fleet.dir.filePath("readings")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());

        child<QPushButton>(panel, "bntSyncTime")->click();
        QCOMPARE(summary(panel), QStringLiteral("完成 2 台，失败 0 台，跳过 0 台"));
        QVERIFY(cell(panel, 0, MetersPanel::Status).startsWith("时钟已设为"));
        const QStringList journal = QString::fromUtf8(fleet.dir.readFile("journal.csv")).split('\n');
        QCOMPARE(journal.filter(",clock,").size(), 2);
        QVERIFY(!cell(panel, 1, MetersPanel::LastWrite).isEmpty());

        // A journal that cannot be written: the clock is still set, the user hears of it once.
        QVERIFY(QFile::remove(fleet.dir.filePath("journal.csv")));
        QVERIFY(QDir(fleet.dir.path()).mkdir("journal.csv"));
        ModalBoxCatcher boxes;
        child<QPushButton>(panel, "bntSyncTime")->click();
        child<QPushButton>(panel, "bntSyncTime")->click();
        QCOMPARE(summary(panel), QStringLiteral("完成 2 台，失败 0 台，跳过 0 台"));
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts().at(0).startsWith("无法写入记录文件"), qPrintable(boxes.texts().at(0)));
    }

    // A meter that does not answer holds up its own row only; Cancel ends it
    // after the exchange on the line, before its repetition.
    void silentMeterTimesOutOnItsOwn()
    {
        Fleet fleet({ "VX-200", "VX-200" });
        QUdpSocket silent;
        QVERIFY(silent.bind(QHostAddress(QHostAddress::LocalHost), 0));
        fleet.dir.writeFile("meters.txt",
            fleet.dir.readFile("meters.txt")
                + QStringLiteral("pump3,udp://127.0.0.1:%1?address=1\n").arg(silent.localPort()).toUtf8());
        MetersPanel panel;
        panel.show();
        select(panel, { "pump1", "pump2", "pump3" });
        QString silentStatus;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!cell(panel, 0, MetersPanel::Status).startsWith("已读取")
                || !cell(panel, 1, MetersPanel::Status).startsWith("已读取"))
                return;
            poll.stop();
            silentStatus = cell(panel, 2, MetersPanel::Status);
            panel.findChild<QProgressDialog *>()->findChild<QPushButton *>()->click();
        });
        poll.start(20);
        setNextFileNames({ fleet.dir.filePath("out") });
        QElapsedTimer elapsed;
        elapsed.start();
        child<QPushButton>(panel, "bntRead")->click();
        QCOMPARE(silentStatus, QStringLiteral("正在读取…"));
        // The first wait of the silent meter, not its longer repetition.
        QVERIFY(elapsed.elapsed() < ItemSession::kRetryReadTimeoutMs);
        QCOMPARE(cell(panel, 2, MetersPanel::Status), QStringLiteral("已停止"));
        QCOMPARE(summary(panel), QStringLiteral("完成 2 台，失败 0 台，跳过 1 台"));
        QVERIFY(QFile::exists(fleet.dir.filePath("out/pump2.csv")));
        QVERIFY(!QFile::exists(fleet.dir.filePath("out/pump3.csv")));
    }

    // The panel mid-update in each language, for people to look at (only with
    // VEXA_SCREENSHOT_DIR set; run under xvfb-run with a window manager).
    void screenshots_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CH") << "zh_CH";
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("zh_TW") << "zh_TW";
    }
    void screenshots()
    {
        QFETCH(QString, language);
        const QString folder = qEnvironmentVariable("VEXA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("VEXA_SCREENSHOT_DIR not set");
        Fleet fleet({ "VX-200", "VX-200", "VX-300", "VX-200" });
        fleet.meters.at(3)->addFault("delay,delay=60,times=all");
        fleet.dir.writeFile("meters.txt", fleet.dir.readFile("meters.txt") + "tank7,tcp://10.0.0.7:502\n");
        const QString package = fleet.dir.filePath("vx200.vexabin");
        QCOMPARE(writePackageFile(package, "Vexa 流量计", "V2.0", "VX-200", firmwareImage()), QString());
        QVERIFY(fleet.dir.copyTranslations());
        QTranslator translator;
        if (loadProgramTranslation(translator, language))
            QCoreApplication::installTranslator(&translator);
        MetersPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        select(panel, { "pump1", "pump2", "pump3", "pump4" });
        bool taken = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            // Two meters updated, one skipped, the slow one under way.
            auto *progress = panel.findChild<QProgressDialog *>();
            if (!progress || progress->labelText() != QCoreApplication::translate("MetersPanel", "正在更新固件…")
                || progress->value() < 2)
                return;
            poll.stop();
            QTest::qWait(200);
            taken = QGuiApplication::primaryScreen()->grabWindow(0).save(
                QDir(folder).filePath(QStringLiteral("meterspanel_%1.png").arg(language)));
        });
        poll.start(20);
        setNextFileNames({ package });
        setNextAnswers({ true });
        child<QPushButton>(panel, "bntFirmware")->click();
        QVERIFY(taken);
        // The editor that 添加… opens.
        MeterList none;
        MeterEditor editor(none, &panel);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(editor.grab().save(QDir(folder).filePath(QStringLiteral("metereditor_%1.png").arg(language))));
        QCoreApplication::removeTranslator(&translator);
    }

    // One at a time: pump2 is of another model and skipped untouched, pump3
    // refuses a page and, with one failure allowed, pump4 never starts.
    void firmwareUpdate()
    {
        Fleet fleet({ "VX-200", "VX-300", "VX-200", "VX-200" });
        fleet.meters.at(2)->call(
            [](MeterSim &sim) { sim.state().extra.insert(QStringLiteral("firmware/wrongPageReplyAt"), 1); });
        const QString package = fleet.dir.filePath("vx200.vexabin");
        QCOMPARE(writePackageFile(package, "Vexa 流量计", "V2.0", "VX-200", firmwareImage()), QString());
        MetersPanel panel;
        panel.show();
        child<QSpinBox>(panel, "spParallel")->setValue(1);
        QCOMPARE(child<QSpinBox>(panel, "spMaxFailures")->value(), 1);
        select(panel, { "pump1", "pump2", "pump3", "pump4" });
        setNextFileNames({ package });
        setNextAnswers({ true });
        child<QPushButton>(panel, "bntFirmware")->click();
        QCOMPARE(askedQuestions().last(),
            QStringLiteral(
                "确认把固件vx200.vexabin(型号 VX-200，版本 V2.0)烧写到以下 3 台设备？\npump1\npump3\npump4"));
        QCOMPARE(summary(panel), QStringLiteral("完成 1 台，失败 1 台，跳过 2 台"));
        QCOMPARE(cell(panel, 0, MetersPanel::Status), QStringLiteral("已更新，更新后设备已应答"));
        QVERIFY2(cell(panel, 1, MetersPanel::Status).startsWith("跳过: ")
                && cell(panel, 1, MetersPanel::Status).contains("VX-300"),
            qPrintable(cell(panel, 1, MetersPanel::Status)));
        QVERIFY(cell(panel, 2, MetersPanel::Status).endsWith(firmwareNeedsNewUpdateText()));
        QCOMPARE(cell(panel, 3, MetersPanel::Status), QStringLiteral("未开始"));
        const QList<int> erased { 1, 0, 1, 0 };
        for (int i = 0; i < 4; ++i)
            QCOMPARE(SimFirmwareRecord::fromState(fleet.meters.at(i)->state()).eraseCount, erased.at(i));
        QVERIFY(SimFirmwareRecord::fromState(fleet.meters.at(0)->state()).image == firmwareImage());
        const QStringList journal
            = QString::fromUtf8(fleet.dir.readFile("journal.csv")).split('\n').filter(",firmware,");
        QCOMPARE(journal.size(), 4); // started and ended, for pump1 and pump3
    }

    // The comparison first, a meter of another model refused naming both;
    // one question; only the differing rows written, after a backup.
    void applyWithWrongModel()
    {
        Fleet fleet({ "VX-200", "VX-200", "VX-300" });
        const int upper = indexOfItem(*fleet.meters.at(0), "量程上限");
        const int lower = indexOfItem(*fleet.meters.at(0), "量程下限");
        // pump2 holds the file's value of one of the two items already.
        fleet.meters.at(1)->call([&](MeterSim &sim) { sim.state().items[lower].value = "1.000"; });
        QVector<ItemRowText> rows;
        const QList<SimItem> items = fleet.meters.at(0)->items();
        for (int i = 0; i < items.size(); ++i) {
            ItemRecord record { i, { items.at(i).name } };
            if (!items.at(i).command)
                record.fields << (i == upper ? "600.000" : i == lower ? "1.000" : items.at(i).value);
            rows << itemRowText(i + 1, record);
        }
        const QString file = fleet.dir.filePath("plant.csv");
        QCOMPARE(exportItems(file, rows), QString());

        MetersPanel panel;
        panel.show();
        select(panel, { "pump1", "pump2", "pump3" });
        setNextFileNames({ file });
        setNextAnswers({ true });
        const int asked = askedQuestions().size();
        child<QPushButton>(panel, "bntApply")->click();
        QCOMPARE(askedQuestions().size(), asked + 1);
        const QString question = askedQuestions().last();
        QVERIFY2(question.contains("pump1: 2 项不同\npump2: 1 项不同\n"), qPrintable(question));
        QVERIFY(!question.contains("pump3"));
        QCOMPARE(cell(panel, 2, MetersPanel::Status), QStringLiteral("型号不同，不写入: 设备为 VX-300，文件为 VX-200"));
        QCOMPARE(summary(panel), QStringLiteral("完成 2 台，失败 0 台，跳过 1 台"));
        for (int i = 0; i < 3; ++i) {
            const QList<SimItem> now = fleet.meters.at(i)->items();
            QCOMPARE(now.at(upper).value, i < 2 ? QStringLiteral("600.000") : QStringLiteral("500.000"));
        }
        QCOMPARE(cell(panel, 0, MetersPanel::Status), QStringLiteral("已写入 2 项"));
        QCOMPARE(cell(panel, 1, MetersPanel::Status), QStringLiteral("已写入 1 项"));
        // Three writes in all, each naming the backup made before it.
        const QStringList journal = QString::fromUtf8(fleet.dir.readFile("journal.csv")).split('\n').filter(",ok,");
        QCOMPARE(journal.size(), 3);
        QCOMPARE(QDir(fleet.dir.filePath("backups")).entryList(QDir::Files).size(), 2);
        for (const QString &line : journal)
            QVERIFY2(line.contains("backups/VX-200_"), qPrintable(line));

        // Opened again later, the panel shows the models the journal recorded.
        MetersPanel later;
        QCOMPARE(cell(later, 0, MetersPanel::Model), QStringLiteral("VX-200"));
        QCOMPARE(cell(later, 2, MetersPanel::Model), QString());
    }
};

VEXA_TEST_MAIN_IN_PRIVATE_NETWORK(TstMetersPanel)
#include "tst_meterspanel.moc"
