#include "base/filenames.h"
#include "base/settings.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

class TstConfig : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void concurrentFirstUseCreatesOneInstance()
    {
        TempWorkDir dir;
        for (int round = 0; round < 20; ++round) {
            singleton<Config>::release();
            std::atomic<bool> go { false };
            std::vector<Config *> seen(8, nullptr);
            std::vector<std::thread> threads;
            for (int i = 0; i < 8; ++i) {
                threads.emplace_back([&, i] {
                    while (!go.load())
                        std::this_thread::yield();
                    seen[i] = singleton<Config>::instance();
                });
            }
            go = true;
            for (auto &thread : threads)
                thread.join();
            for (Config *config : seen) {
                QCOMPARE(config, seen.front());
                QCOMPARE(config->settings(), seen.front()->settings());
            }
        }
    }

    void lockExcludesAndTries()
    {
        atom_lock guard;
        QVERIFY(guard.tryAcquire());
        QVERIFY(!guard.tryAcquire());
        guard.release();
        QVERIFY(guard.tryAcquire());
        guard.release();

        long counter = 0;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 20000; ++i) {
                    guard.acquire();
                    ++counter;
                    guard.release();
                }
            });
        }
        for (auto &thread : threads)
            thread.join();
        QCOMPARE(counter, 80000L);
    }

    void textIsStoredAsUtf8AndReleaseFlushes()
    {
        TempWorkDir dir;
        appSettings()->setValue(QStringLiteral("appname/ch"), QStringLiteral("仪表助手"));
        singleton<Config>::release();
        const QByteArray content = dir.readFile(QStringLiteral("config.ini"));
        QVERIFY2(content.contains(QStringLiteral("仪表助手").toUtf8()), content.constData());
        // A later use reads the file back.
        QCOMPARE(appSettings()->value(QStringLiteral("appname/ch")).toString(), QStringLiteral("仪表助手"));
    }

    void suggestedFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QDateTime when(QDate(2026, 12, 8), QTime(16, 5, 9));
        QTest::newRow("model") << itemsFileName(QStringLiteral("VX-200"), when) << "VX-200_20261208-160509.csv";
        QTest::newRow("unsafe model") << itemsFileName(QStringLiteral(" A/B:C *x "), when)
                                      << "A_B_C_x_20261208-160509.csv";
        QTest::newRow("no model") << itemsFileName(QString(), when) << "config_20261208-160509.csv";
        QTest::newRow("dots only") << itemsFileName(QStringLiteral(".."), when) << "config_20261208-160509.csv";
        QTest::newRow("history csv") << historyFileName(QDate(2026, 1, 2), QDate(2026, 3, 4), QStringLiteral("csv"))
                                     << "history_20260102_20260304.csv";
        QTest::newRow("history pdf") << historyFileName(QDate(2026, 1, 2), QDate(2026, 1, 2), QStringLiteral("pdf"))
                                     << "history_20260102_20260102.pdf";
        QTest::newRow("suffix added") << withSuffix(QStringLiteral("/tmp/out"), QStringLiteral("csv"))
                                      << "/tmp/out.csv";
        QTest::newRow("suffix kept") << withSuffix(QStringLiteral("/tmp/out.CSV"), QStringLiteral("csv"))
                                     << "/tmp/out.CSV";
        QTest::newRow("own suffix kept") << withSuffix(QStringLiteral("/tmp/out.txt"), QStringLiteral("csv"))
                                         << "/tmp/out.txt";
        QTest::newRow("dotted folder") << withSuffix(QStringLiteral("/tmp/a.b/out"), QStringLiteral("pdf"))
                                       << "/tmp/a.b/out.pdf";
        QTest::newRow("cancelled") << withSuffix(QString(), QStringLiteral("csv")) << "";
    }

    void suggestedFileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(name, expected);
    }

    void lastFolderIsKeptPerKind()
    {
        TempWorkDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("csv")));
        QCOMPARE(lastFolder(kItemFiles), QString());
        rememberFolder(kItemFiles, dir.filePath(QStringLiteral("csv/a.csv")));
        rememberFolder(kHistoryFiles, dir.filePath(QStringLiteral("h.pdf")));
        rememberFolder(kHistoryFiles, QString()); // cancelled: kept
        singleton<Config>::release();
        QCOMPARE(lastFolder(kItemFiles), dir.filePath(QStringLiteral("csv")));
        QCOMPARE(lastFolder(kHistoryFiles), dir.path());
        // A folder that has gone is no start.
        QVERIFY(QDir(dir.filePath(QStringLiteral("csv"))).removeRecursively());
        QCOMPARE(lastFolder(kItemFiles), QString());
    }

    void title_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("defaults, no language") << QByteArray() << QString() << QStringLiteral("Vexa助手 V4.26");
        QTest::newRow("defaults, English")
            << QByteArray() << QStringLiteral("en_US") << QStringLiteral("Vexa Assistant V4.26");
        QTest::newRow("defaults, Traditional")
            << QByteArray() << QStringLiteral("zh_TW") << QStringLiteral("Vexa助手 V4.26");
        QTest::newRow("code is case-sensitive")
            << QByteArray() << QStringLiteral("en_us") << QStringLiteral("Vexa助手 V4.26");
        QTest::newRow("unknown code") << QByteArray() << QStringLiteral("fr_FR") << QStringLiteral("Vexa助手 V4.26");
        QTest::newRow("no version") << QByteArray("[appname]\nver=false\n") << QStringLiteral("zh_CH")
                                    << QStringLiteral("Vexa助手");
        QTest::newRow("own names") << QByteArray("[appname]\nus=Meter Tool\ntw=\xe5\x84\x80\xe8\xa1\xa8\nch=X\n")
                                   << QStringLiteral("zh_TW") << QStringLiteral("儀表 V4.26");
        // Any text but "false"/"0" converts to true, as the toolkit does.
        QTest::newRow("nonsense version flag") << QByteArray("[appname]\nver=banana\n") << QStringLiteral("en_US")
                                               << QStringLiteral("Vexa Assistant V4.26");
    }

    void title()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, language);
        QFETCH(QString, title);
        TempWorkDir dir;
        if (!ini.isEmpty())
            QVERIFY(dir.writeFile(QStringLiteral("config.ini"), ini));
        QCOMPARE(applicationTitle(language), title);
    }
};

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
