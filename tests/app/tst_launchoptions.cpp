#include "app/launchoptions.h"
#include "base/translationlookup.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

#include <QTranslator>

class TstLaunchOptions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dataHome;

private slots:
    void initTestCase()
    {
        // The per-user folder lands in a temporary XDG data home.
        QVERIFY(m_dataHome.isValid());
        qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());
    }

    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("workDir");
        QTest::addColumn<QString>("message");

        const int start = int(LaunchOptions::Request::Start);
        const int error = int(LaunchOptions::Request::Error);
        const QString user = m_dataHome.path() + QStringLiteral("/vexa-assistant");
        QTest::newRow("nothing") << QStringList {} << start << QString() << QString();
        QTest::newRow("workdir") << QStringList { "--workdir", "/x" } << start << "/x" << QString();
        QTest::newRow("workdir=") << QStringList { "--workdir=/y" } << start << "/y" << QString();
        QTest::newRow("user-dir") << QStringList { "--user-dir" } << start << user << QString();
        QTest::newRow("toolkit options") << QStringList { "-platform", "offscreen", "--style=fusion", "-reverse" }
                                         << start << QString() << QString();
        QTest::newRow("version") << QStringList { "--version" } << int(LaunchOptions::Request::Version) << QString()
                                 << "vexa-assistant 4.26\n";
        QTest::newRow("unknown") << QStringList { "--frobnicate" } << error << QString()
                                 << "vexa-assistant: Unknown option 'frobnicate'. (see vexa-assistant --help)";
        QTest::newRow("positional") << QStringList { "config.ini" } << error << QString()
                                    << "vexa-assistant: unexpected argument 'config.ini'. (see vexa-assistant --help)";
        QTest::newRow("both dirs") << QStringList { "--user-dir", "--workdir", "/x" } << error << QString()
                                   << "vexa-assistant: --workdir and --user-dir exclude each other. (see "
                                      "vexa-assistant --help)";
        QTest::newRow("no value") << QStringList { "--workdir" } << error << QString()
                                  << "vexa-assistant: Missing value after '--workdir'. (see vexa-assistant --help)";
        QTest::newRow("empty value") << QStringList { "--workdir=" } << error << QString()
                                     << "vexa-assistant: --workdir needs a folder. (see vexa-assistant --help)";
        QTest::newRow("binary junk") << QStringList { QString::fromLatin1("--\xff\x01") } << error << QString()
                                     << QString::fromLatin1("vexa-assistant: Unknown option '\xff\x01'. (see "
                                                            "vexa-assistant --help)");
    }

    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, request);
        QFETCH(QString, workDir);
        QFETCH(QString, message);
        arguments.prepend(QStringLiteral("/somewhere/else/vexa-assistant"));
        const LaunchOptions options = LaunchOptions::parse(arguments);
        QCOMPARE(int(options.request()), request);
        QCOMPARE(options.workDir(), workDir);
        QCOMPARE(options.message(), message);
        QVERIFY(!options.message().contains(QLatin1Char('\n')) || request != int(LaunchOptions::Request::Error));
    }

    void userDirFollowsTheDataHome_data()
    {
        QTest::addColumn<QByteArray>("dataHome");
        QTest::addColumn<QString>("userDir"); // "~" for the home folder
        QTest::newRow("absolute") << QByteArray("/srv/data") << "/srv/data/vexa-assistant";
        QTest::newRow("unset") << QByteArray() << "~/.local/share/vexa-assistant";
        // Only absolute paths count: a relative one would put the folder
        // wherever the program happens to start.
        QTest::newRow("relative") << QByteArray("data") << "~/.local/share/vexa-assistant";
        QTest::newRow("dot") << QByteArray(".") << "~/.local/share/vexa-assistant";
    }
    void userDirFollowsTheDataHome()
    {
        QFETCH(QByteArray, dataHome);
        QFETCH(QString, userDir);
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome);
        const QString found = LaunchOptions::userDir();
        qputenv("XDG_DATA_HOME", previous);
        QCOMPARE(found, userDir.replace(QLatin1Char('~'), QDir::homePath()));
    }

    void helpNamesTheOptions()
    {
        const LaunchOptions options = LaunchOptions::parse({ QStringLiteral("./a.out"), QStringLiteral("--help") });
        QCOMPARE(options.request(), LaunchOptions::Request::Help);
        QVERIFY(options.message().startsWith(QStringLiteral("Usage: vexa-assistant [options]\n")));
        for (const char *option : { "--workdir <DIR>", "--user-dir", "--version", "--help" })
            QVERIFY2(options.message().contains(QLatin1String(option)), option);
    }

    void entersWorkDir()
    {
        TempWorkDir restore; // back where we were afterwards
        QTemporaryDir target;
        const LaunchOptions chosen
            = LaunchOptions::parse({ QStringLiteral("p"), QStringLiteral("--workdir"), target.path() });
        QCOMPARE(chosen.enterWorkDir(), QString());
        QCOMPARE(QDir::currentPath(), QDir(target.path()).canonicalPath());

        const LaunchOptions missing = LaunchOptions::parse(
            { QStringLiteral("p"), QStringLiteral("--workdir"), target.filePath(QStringLiteral("nope")) });
        QCOMPARE(missing.enterWorkDir(), target.filePath(QStringLiteral("nope")) + QStringLiteral(" is not a folder"));
        QVERIFY(!QFileInfo::exists(target.filePath(QStringLiteral("nope"))));
        QCOMPARE(QDir::currentPath(), QDir(target.path()).canonicalPath());
        QCOMPARE(missing.workDirFailureText(),
            QStringLiteral("无法使用工作目录 ") + target.filePath(QStringLiteral("nope")) + QStringLiteral("。"));

        const LaunchOptions user = LaunchOptions::parse({ QStringLiteral("p"), QStringLiteral("--user-dir") });
        QDir(user.workDir()).removeRecursively();
        QCOMPARE(user.enterWorkDir(), QString());
        QCOMPARE(QDir::currentPath(), QDir(m_dataHome.path() + QStringLiteral("/vexa-assistant")).canonicalPath());
        QCOMPARE(user.enterWorkDir(), QString()); // exists now

        // A file where the folder should be is refused, not replaced.
        QDir(user.workDir()).removeRecursively();
        QFile blocker(user.workDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!user.enterWorkDir().isEmpty());
        QVERIFY(QFileInfo(user.workDir()).isFile());
        QVERIFY(blocker.remove());
    }

    void translationOrder_data()
    {
        QTest::addColumn<QStringList>("present"); // folders holding the file: work, installed, exe
        QTest::addColumn<QString>("file"); // the translation placed there
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected"); // the folder whose file was loaded, or empty

        QTest::newRow("working directory first") << QStringList { "work", "installed", "exe" } << "en_US"
                                                 << "en_US"
                                                 << "work";
        QTest::newRow("then installed") << QStringList { "installed", "exe" } << "en_US"
                                        << "en_US"
                                        << "installed";
        QTest::newRow("then beside the program") << QStringList { "exe" } << "en_US"
                                                 << "en_US"
                                                 << "exe";
        QTest::newRow("none") << QStringList {} << "en_US"
                              << "en_US" << QString();
        QTest::newRow("path in code stays in working directory") << QStringList { "installed", "exe" } << "en_US"
                                                                 << "../bin/en_US" << QString();
        // Any other code shows Simplified Chinese, with its few Latin texts.
        QTest::newRow("unknown code takes Simplified Chinese") << QStringList { "installed" } << "zh_CH"
                                                               << "fr_FR"
                                                               << "installed";
        QTest::newRow("no code takes Simplified Chinese") << QStringList { "exe" } << "zh_CH" << QString() << "exe";
        QTest::newRow("English never does") << QStringList { "installed" } << "zh_CH"
                                            << "en_US" << QString();
    }

    void translationOrder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, file);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        TempWorkDir root;
        QVERIFY(QDir().mkpath(QStringLiteral("work")));
        QVERIFY(QDir().mkpath(QStringLiteral("prefix/bin")));
        QVERIFY(QDir().mkpath(QStringLiteral("prefix/share/vexa-assistant/translations")));
        const QMap<QString, QString> folders { { "work", root.filePath("work") },
            { "installed", root.filePath("prefix/share/vexa-assistant/translations") },
            { "exe", root.filePath("prefix/bin") } };
        for (const QString &name : present)
            QVERIFY(QFile::copy(QStringLiteral(VEXA_QM_DIR "/") + file + QStringLiteral(".qm"),
                folders[name] + QLatin1Char('/') + file + QStringLiteral(".qm")));
        QDir::setCurrent(folders["work"]);

        const QStringList fallbacks = translationFallbackDirs(folders["exe"]);
        QCOMPARE(fallbacks, (QStringList { folders["installed"], folders["exe"] }));
        QTranslator translator;
        QCOMPARE(loadTranslation(translator, code, fallbacks), !expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE(QFileInfo(translator.filePath()).canonicalPath(), QDir(folders[expected]).canonicalPath());
    }

    void helpersFindTheInstalledTranslations()
    {
        // vexa-history-render lives in libexec/vexa-assistant/ below the prefix.
        QCOMPARE(translationFallbackDirs(QStringLiteral("/opt/x/libexec/vexa-assistant")),
            (QStringList { "/opt/x/share/vexa-assistant/translations", "/opt/x/libexec/vexa-assistant" }));
        QCOMPARE(translationFallbackDirs(QStringLiteral("/usr/bin/")),
            (QStringList { "/usr/share/vexa-assistant/translations", "/usr/bin" }));
    }
};

QTEST_GUILESS_MAIN(TstLaunchOptions)
#include "tst_launchoptions.moc"
