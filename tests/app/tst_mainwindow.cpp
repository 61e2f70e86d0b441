#include "app/mainwindow.h"
#include "fleet/meterspanel.h"
#include "app/windowgeometry.h"
#include "base/elidedlabel.h"
#include "base/filedialogs.h"
#include "base/folderopener.h"
#include "base/settings.h"
#include "history/historydata.h"
#include "items/configtree.h"
#include "link/commsettings.h"
#include "monitor/monitorcommandsdialog.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

QAction *action(const MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

QStringList checkedLanguages(const MainWindow &window)
{
    QStringList checked;
    for (const char *name : { "lang_en_US", "lang_zh_CH", "lang_zh_TW" }) {
        if (action(window, name)->isChecked())
            checked << QLatin1String(name);
    }
    return checked;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void opensWithDefaultsWithoutConfig()
    {
        TempWorkDir dir;
        MainWindow window;
        // 600 high where the screen has room (the offscreen screen has not).
        if (window.screen()->availableGeometry().height() >= 700)
            QCOMPARE(window.height(), 600);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vexa助手 V4.26"));
        QCOMPARE(checkedLanguages(window), QStringList { QStringLiteral("lang_zh_CH") });
        QCOMPARE(window.width(), window.minimumWidth());
        // Every tool-bar button is visible: none is pushed behind the extension arrow.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("toolBar"));
        for (QAction *a : toolBar->actions())
            QVERIFY2(toolBar->widgetForAction(a)->isVisible(), qPrintable(a->objectName()));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("准备就绪"));
    }

    void formHasItsActionsMenusAndToolBar()
    {
        TempWorkDir dir;
        MainWindow window;
        auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("toolBar"));
        QVERIFY(toolBar);
        QCOMPARE(toolBar->iconSize(), QSize(25, 25));
        QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!toolBar->isMovable());
        QStringList onBar;
        for (QAction *a : toolBar->actions())
            onBar << a->objectName();
        QCOMPARE(onBar,
            (QStringList {
                "setup", "refresh", "import_2", "export_2", "save", "sync_time", "debug", "update", "monitor" }));
        QStringList menus;
        for (QAction *a : window.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList { "操作", "语言", "帮助" }));
        auto *operate = window.findChild<QMenu *>(QStringLiteral("menu"));
        QStringList inMenu;
        for (QAction *a : operate->actions())
            inMenu << a->objectName();
        QCOMPARE(inMenu,
            (QStringList { "setup", "refresh", "import_2", "actionCompareFile", "actionRestoreBackup", "export_2",
                "save", "sync_time", "debug", "update", "monitor", "", "actionMeters", "actionServiceReport",
                "openJournalFolder", "", "quit" }));
        QCOMPARE(action(window, "actionCompareFile")->shortcut(), QKeySequence(Qt::CTRL + Qt::Key_D));
        QCOMPARE(action(window, "save")->toolTip(), QStringLiteral("写入配置"));
        QVERIFY(!action(window, "save")->icon().isNull());
        // Tool-bar icons are reduced to a single 16 px image.
        QCOMPARE(action(window, "refresh")->icon().availableSizes(), QList<QSize> { QSize(16, 16) });
    }

    void keysTriggerTheirActions_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("actionName");
        QTest::addColumn<QString>("menuText");
        QTest::newRow("F5 refresh") << int(Qt::Key_F5) << 0 << "refresh"
                                    << "F5";
        QTest::newRow("Ctrl+E export") << int(Qt::Key_E) << int(Qt::ControlModifier) << "export_2"
                                       << "Ctrl+E";
        QTest::newRow("Ctrl+I import") << int(Qt::Key_I) << int(Qt::ControlModifier) << "import_2"
                                       << "Ctrl+I";
        QTest::newRow("F9 batch write") << int(Qt::Key_F9) << 0 << "save"
                                        << "F9";
        QTest::newRow("Ctrl+M meters") << int(Qt::Key_M) << int(Qt::ControlModifier) << "actionMeters"
                                       << "Ctrl+M";
        QTest::newRow("Ctrl+Q exit") << int(Qt::Key_Q) << int(Qt::ControlModifier) << "quit"
                                     << "Ctrl+Q";
    }

    void keysTriggerTheirActions()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, actionName);
        QFETCH(QString, menuText);
        TempWorkDir dir;
        ModalBoxCatcher boxes; // the refresh finds no meter
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QAction *target = action(window, qPrintable(actionName));
        QCOMPARE(target->shortcut().toString(QKeySequence::NativeText), menuText);
        if (actionName == QLatin1String("save")) {
            // A key that writes to the meter must not be one the user knows as another.
            for (int standard = QKeySequence::HelpContents; standard <= QKeySequence::Cancel; ++standard)
                QVERIFY(!QKeySequence::keyBindings(QKeySequence::StandardKey(standard)).contains(target->shortcut()));
        }
        QSignalSpy triggered(target, &QAction::triggered);
        setNextFileNames({ QString() }); // export and import: cancel the file choice
        QTest::keyClick(&window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(triggered.count(), 1);
        if (actionName.endsWith(QLatin1String("_2")))
            QCOMPARE(askedFiles().size(), 1);
        if (actionName == QLatin1String("quit"))
            QVERIFY(!window.isVisible());
        if (actionName == QLatin1String("actionMeters")) // beside the window, which stays usable
            QVERIFY(window.metersPanel()->isVisible() && !QApplication::activeModalWidget());
        window.refreshThread()->wait(20000);
    }

    void enterAndF2EditTheCurrentRow_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("F2") << int(Qt::Key_F2);
    }

    void enterAndF2EditTheCurrentRow()
    {
        QFETCH(int, key);
        TempWorkDir dir;
        MainWindow window;
        window.slotAddItems(4, { QStringLiteral("复位") });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.configTree()->setCurrentItem(window.configTree()->topLevelItem(0));
        window.configTree()->setFocus();
        // A command row asks before it is sent; No leaves the meter alone.
        ModalBoxCatcher boxes;
        boxes.setAnswer(QMessageBox::Cancel);
        QTest::keyClick(window.configTree(), Qt::Key(key));
        QCOMPARE(boxes.texts(), QStringList { QStringLiteral("复位") });
    }

    void connectionLabelFollowsTheSetupDialog()
    {
        TempWorkDir dir;
        storeLinkSettings(LinkSettings::overSerial(QStringLiteral("/dev/ttyUSB0"), 1));
        MainWindow window;
        auto *label = window.findChild<QLabel *>(QStringLiteral("connectionLabel"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("/dev/ttyUSB0 9600 8N1 · 地址 1"));
        QLabel *summary = window.itemPage()->writeSummaryLabel();
        summary->setText(QStringLiteral("批量写入: 已写入1项,设备未接受0项,未写入0项"));
        QTimer::singleShot(0, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QGroupBox *>(QStringLiteral("gbUdp"))->setChecked(true);
            dialog->findChild<QLineEdit *>(QStringLiteral("edUdpAddress"))->setText(QStringLiteral("127.0.0.1"));
            dialog->findChild<QLineEdit *>(QStringLiteral("edUdpPort"))->setText(QStringLiteral("47800"));
            auto *address = dialog->findChild<QComboBox *>(QStringLiteral("cmbDeviceAddress"));
            address->setCurrentIndex(address->findData(255));
            dialog->findChild<QPushButton *>(QStringLiteral("ok"))->click();
        });
        action(window, "setup")->trigger();
        QCOMPARE(label->text(), QStringLiteral("UDP 127.0.0.1:47800 · 地址 255"));
        // Another meter: the last batch's summary is not about it.
        QCOMPARE(summary->text(), QString());
        // A message has a place of its own beside the connection; a long one
        // is cut there and shown whole in its tool tip.
        window.show();
        auto *message = window.findChild<ElidedLabel *>(QStringLiteral("statusMessage"));
        QVERIFY(message);
        window.statusBar()->showMessage(QStringLiteral("写入配置成功"), 5000);
        QCOMPARE(message->text(), QStringLiteral("写入配置成功"));
        QTRY_VERIFY(!message->isElided());
        window.statusBar()->showMessage(QString(400, QLatin1Char('x')), 5000);
        QVERIFY(label->isVisible());
        QTRY_VERIFY(message->isElided());
        QVERIFY(message->width() >= message->minimumWidth());
        window.statusBar()->clearMessage();
        QCOMPARE(message->text(), QString());
    }

    void languageCodes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("withTranslations");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("refreshText");
        QTest::newRow("English with qm") << "en_US" << true << "lang_en_US"
                                         << "Vexa Assistant V4.26"
                                         << "Refresh";
        QTest::newRow("English without qm") << "en_US" << false << "lang_en_US"
                                            << "Vexa Assistant V4.26"
                                            << "刷新";
        QTest::newRow("Traditional with qm") << "zh_TW" << true << "lang_zh_TW"
                                             << "Vexa助手 V4.26"
                                             << "重新整理";
        QTest::newRow("unknown code") << "fr_FR" << true << "lang_zh_CH"
                                      << "Vexa助手 V4.26"
                                      << "刷新";
        QTest::newRow("wrong case") << "EN_US" << true << "lang_zh_CH"
                                    << "Vexa助手 V4.26"
                                    << "刷新";
        QTest::newRow("Simplified") << "zh_CH" << true << "lang_zh_CH"
                                    << "Vexa助手 V4.26"
                                    << "刷新";
    }

    void languageCodes()
    {
        QFETCH(QString, stored);
        QFETCH(bool, withTranslations);
        QFETCH(QString, checked);
        QFETCH(QString, title);
        QFETCH(QString, refreshText);
        TempWorkDir dir;
        if (withTranslations)
            QVERIFY(dir.copyTranslations());
        appSettings()->setValue(QStringLiteral("language/language"), stored);
        MainWindow window;
        QCOMPARE(checkedLanguages(window), QStringList { checked });
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(action(window, "refresh")->text(), refreshText);
        // "Ready" comes after the language, in it.
        QCOMPARE(window.statusBar()->currentMessage(), QCoreApplication::translate("MainWindow", "准备就绪"));
        // The code stays stored as it was, even when unknown.
        QCOMPARE(appSettings()->value(QStringLiteral("language/language")).toString(), stored);
    }

    void switchingLanguageRetranslatesLive()
    {
        TempWorkDir dir;
        QVERIFY(dir.copyTranslations());
        MainWindow window;
        action(window, "lang_en_US")->trigger();
        QCOMPARE(action(window, "setup")->text(), QStringLiteral("Connection"));
        // The tool bar's entry in the context menu is a word, not its object name.
        QCOMPARE(window.findChild<QToolBar *>(QStringLiteral("toolBar"))->toggleViewAction()->text(),
            QStringLiteral("Toolbar"));
        QCOMPARE(window.findChild<QMenu *>(QStringLiteral("menu_2"))->title(), QStringLiteral("Language"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Vexa Assistant V4.26"));
        QCOMPARE(checkedLanguages(window), QStringList { QStringLiteral("lang_en_US") });
        // Triggering the checked action again keeps it checked.
        action(window, "lang_en_US")->trigger();
        QCOMPARE(checkedLanguages(window), QStringList { QStringLiteral("lang_en_US") });
        action(window, "lang_zh_CH")->trigger();
        QCOMPARE(action(window, "setup")->text(), QStringLiteral("通讯设置"));
        QCOMPARE(appSettings()->value(QStringLiteral("language/language")).toString(), QStringLiteral("zh_CH"));
        QCOMPARE(window.width(), window.minimumWidth());
    }

    // Every export says in the window's status bar where its file went, and
    // 打开文件夹 beside it opens that folder; dialogs report there too.
    void exportsSayWhereTheFileWent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        QTest::newRow("导出配置") << "items"
                                  << "sub/items.csv";
        QTest::newRow("历史数据 CSV") << "historyCsv"
                                      << "h.csv";
        QTest::newRow("历史数据 PDF") << "historyPdf"
                                      << "h.pdf";
        QTest::newRow("导出图表") << "historyChart"
                                  << "c.png";
        QTest::newRow("服务报告") << "historyReport"
                                  << "r.pdf";
        QTest::newRow("导出命令") << "monitorCommands"
                                  << "commands.txt";
    }
    void exportsSayWhereTheFileWent()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        TempWorkDir dir;
        QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(file)).absolutePath()));
        MainWindow window;
        window.show();
        auto *open = window.findChild<QToolButton *>(QStringLiteral("openSavedFolder"));
        QVERIFY(open);
        QVERIFY(!open->isVisible());
        ModalBoxCatcher boxes;
        setNextFileNames({ dir.filePath(file) });
        if (kind == QLatin1String("items")) {
            window.slotExportItems();
        } else if (kind.startsWith(QLatin1String("history"))) {
            HistoryData history(&window);
            QVERIFY(QMetaObject::invokeMethod(
                &history, "slotAddText", Q_ARG(QString, QStringLiteral("2024-03-01 08:00:00,1\n"))));
            const char *slot = kind == QLatin1String("historyCsv") ? "slotExportCSV"
                : kind == QLatin1String("historyPdf")              ? "slotExportPDF"
                : kind == QLatin1String("historyChart")            ? "slotExportChart"
                                                                   : "slotServiceReport";
            QVERIFY(QMetaObject::invokeMethod(&history, slot));
        } else {
            MonitorCommandsDialog commands({}, &window);
            commands.findChild<QPushButton *>(QStringLiteral("bntExportCommands"))->click();
        }
        QCOMPARE(boxes.texts(), QStringList());
        QVERIFY(QFile::exists(dir.filePath(file)));
        const QString path = QDir::toNativeSeparators(dir.filePath(file));
        const QString message = window.statusBar()->currentMessage();
        QVERIFY2(message.endsWith(QStringLiteral("已保存到 ") + path), qPrintable(message));
        QCOMPARE(window.findChild<ElidedLabel *>(QStringLiteral("statusMessage"))->text(), message);
        QVERIFY(open->isVisible());
        QCOMPARE(open->text(), QStringLiteral("打开文件夹"));
        setNextFolderOpenings({ true });
        open->click();
        QCOMPARE(openedFolders(), QStringList { QFileInfo(path).absolutePath() });
        QCOMPARE(boxes.texts(), QStringList());
        // Another message: the button is not about it.
        window.statusBar()->showMessage(QStringLiteral("准备就绪"));
        QVERIFY(!open->isVisible());
    }

    // No file manager answers: the path is shown, selectable, to go there by hand.
    void folderShownWhenNoFileManagerAnswers()
    {
        TempWorkDir dir;
        MainWindow window;
        ModalBoxCatcher boxes;
        setNextFolderOpenings({ false });
        action(window, "openJournalFolder")->trigger();
        QCOMPARE(openedFolders(), QStringList { QDir::toNativeSeparators(dir.path()) });
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(
            boxes.texts().first().endsWith(QDir::toNativeSeparators(dir.path())), qPrintable(boxes.texts().first()));
        QVERIFY(boxes.boxes().first().selectable);
    }

    void screenshots_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CN") << "slot_zh_CH";
        QTest::newRow("en_US") << "slot_en_US";
        QTest::newRow("zh_TW") << "slot_zh_TW";
    }
    // Pictures for people to look at: only when asked for.
    void screenshots()
    {
        const QString target = qEnvironmentVariable("MAINWINDOW_SHOTS");
        if (target.isEmpty())
            QSKIP("set MAINWINDOW_SHOTS to a folder to get screenshots");
        QFETCH(QString, language);
        TempWorkDir dir;
        QVERIFY(dir.copyTranslations());
        MainWindow window;
        QVERIFY(QMetaObject::invokeMethod(&window, language.toLatin1().constData()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(QDir().mkpath(dir.filePath("客户/2024-03")));
        setNextFileNames({ dir.filePath("客户/2024-03/VX-200_20240301-080000.csv") });
        window.slotExportItems();
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(target + QStringLiteral("/mainwindow_%1.png").arg(QTest::currentDataTag())));
    }

    void restoredSizeIsBoundedByTheScreen_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("expected");
        // Tool bar needs 520, floor 600 high, frame 4 and title bar 30.
        const QSize big(1920, 1040);
        QTest::newRow("missing") << QSize(0, 0) << big << QSize(520, 600);
        QTest::newRow("too small") << QSize(300, 200) << big << QSize(520, 600);
        QTest::newRow("stored fits") << QSize(700, 750) << big << QSize(700, 750);
        QTest::newRow("900 high on a 768 screen") << QSize(700, 900) << QSize(1366, 738) << QSize(700, 704);
        QTest::newRow("wider than the screen") << QSize(3000, 700) << QSize(1024, 738) << QSize(1020, 700);
        QTest::newRow("screen narrower than the tool bar") << QSize(3000, 700) << QSize(480, 738) << QSize(520, 700);
        QTest::newRow("screen below the floor") << QSize(0, 900) << QSize(800, 600) << QSize(520, 566);
        QTest::newRow("absurd") << QSize(2147483647, 2147483647) << big << QSize(1916, 1006);
    }

    void restoredSizeIsBoundedByTheScreen()
    {
        QFETCH(QSize, stored);
        QFETCH(QSize, available);
        QFETCH(QSize, expected);
        QCOMPARE(boundedWindowSize(stored, QSize(520, 600), available, QSize(4, 34)), expected);
    }

    // The offscreen platform's screen is 800 x 600: a small screen.
    void storedSizeOnASmallScreen_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("missing") << -1 << -1;
        QTest::newRow("taller than the screen") << 700 << 900;
        QTest::newRow("absurd") << 2147483647 << 2147483647;
    }

    void storedSizeOnASmallScreen()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        TempWorkDir dir;
        if (width >= 0) {
            appSettings()->setValue(QStringLiteral("window/width"), width);
            appSettings()->setValue(QStringLiteral("window/height"), height);
        }
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        if (screen.height() > 768)
            QSKIP("needs a small screen, such as the offscreen platform's");
        QVERIFY(window.height() < 600);
        if (width < 0)
            QCOMPARE(window.width(), window.minimumWidth());
        else if (width < screen.width() - 50)
            QCOMPARE(window.width(), qMax(window.minimumWidth(), width));
        // The status bar is on the screen.
        const QRect bar(window.statusBar()->mapToGlobal(QPoint(0, 0)), window.statusBar()->size());
        QVERIFY2(screen.contains(bar), qPrintable(QStringLiteral("%1 > %2").arg(bar.bottom()).arg(screen.bottom())));
    }

    void closeStoresTheSizeAndReleasesTheSettings()
    {
        TempWorkDir dir;
        {
            MainWindow window;
            window.show();
            window.resize(window.minimumWidth() + 40, 720);
            window.close();
        }
        const QByteArray ini = dir.readFile(QStringLiteral("config.ini"));
        QVERIFY2(ini.contains("height=720"), ini.constData());
        MainWindow again;
        // The width comes back too; the height as far as the screen allows.
        QCOMPARE(again.width(), again.minimumWidth() + 40);
        if (again.screen()->availableGeometry().height() > 800)
            QCOMPARE(again.height(), 720);
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
