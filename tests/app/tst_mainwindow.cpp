#include "app/mainwindow.h"
#include "app/settings.h"
#include "tests/support/tempworkdir.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
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
            (QStringList { "setup", "refresh", "import_2", "export_2", "sync_time", "debug", "update", "monitor" }));
        QStringList menus;
        for (QAction *a : window.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList { "操作", "语言", "帮助" }));
        auto *operate = window.findChild<QMenu *>(QStringLiteral("menu"));
        QStringList inMenu;
        for (QAction *a : operate->actions())
            inMenu << a->objectName();
        QCOMPARE(inMenu,
            (QStringList { "setup", "refresh", "import_2", "export_2", "save", "sync_time", "debug", "update",
                "monitor", "", "openJournalFolder" }));
        QCOMPARE(action(window, "save")->toolTip(), QStringLiteral("写入配置"));
        QVERIFY(!action(window, "save")->icon().isNull());
        // Tool-bar icons are reduced to a single 16 px image.
        QCOMPARE(action(window, "refresh")->icon().availableSizes(), QList<QSize> { QSize(16, 16) });
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

    void heightHasAFloor_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << -1 << 600;
        QTest::newRow("too small") << 200 << 600;
        QTest::newRow("taller") << 750 << 750;
    }

    void heightHasAFloor()
    {
        QFETCH(int, stored);
        QFETCH(int, expected);
        TempWorkDir dir;
        if (stored >= 0)
            appSettings()->setValue(QStringLiteral("window/height"), stored);
        MainWindow window;
        QCOMPARE(window.height(), expected);
    }

    void absurdStoredSizeIsBoundedByTheDesktop()
    {
        TempWorkDir dir;
        appSettings()->setValue(QStringLiteral("window/height"), 2147483647);
        appSettings()->setValue(QStringLiteral("window/width"), 2147483647);
        MainWindow window;
        const QSize desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry().size();
        QVERIFY(window.height() >= 600);
        QVERIFY2(window.height() <= qMax(600, desktop.height() * 2), qPrintable(QString::number(window.height())));
        QCOMPARE(window.width(), window.minimumWidth());
    }

    void closeStoresTheSizeAndReleasesTheSettings()
    {
        TempWorkDir dir;
        {
            MainWindow window;
            window.show();
            window.resize(window.width(), 720);
            window.close();
        }
        const QByteArray ini = dir.readFile(QStringLiteral("config.ini"));
        QVERIFY2(ini.contains("height=720"), ini.constData());
        QVERIFY2(ini.contains("width="), ini.constData());
        MainWindow again;
        QCOMPARE(again.height(), 720);
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
