#include "app/launchoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <memory>

namespace {

// Options QGuiApplication and QApplication take out of argv themselves.
const char *const kToolkitOptionsWithValue[] = { "platform", "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "qmljsdebugger", "session", "display", "geometry", "style",
    "stylesheet", "name", "title", "visual", "im", "inputstyle" };
const char *const kToolkitFlags[] = { "reverse", "widgetcount", "nograb", "dograb", "sync", "testability" };

// The toolkit accepts its options with one or two dashes and, for some,
// with "=value" attached.
QString toolkitOptionName(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--"))
        return {};
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString name = i == 0 ? QString() : toolkitOptionName(argument);
        bool takesValue = false;
        bool isToolkit = false;
        for (const char *option : kToolkitOptionsWithValue) {
            if (name == QLatin1String(option))
                isToolkit = takesValue = true;
        }
        for (const char *flag : kToolkitFlags) {
            if (name == QLatin1String(flag))
                isToolkit = true;
        }
        if (!isToolkit) {
            kept << argument;
            continue;
        }
        if (takesValue && !argument.contains(QLatin1Char('=')))
            ++i;
    }
    return kept;
}

// The help text (and the man page made from it) shows ~ for the home folder.
QString homeShortened(const QString &path)
{
    const QString home = QDir::homePath();
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList &arguments)
{
    const QString program = QStringLiteral("vexa-assistant");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures and services meters over a serial line or UDP: configuration items, clock,\n"
                       "history log, line monitor and firmware update.\n"
                       "\n"
                       "Settings (config.ini), the skip file (SkipItems) and the download folder (Files/)\n"
                       "are kept in the working directory: the directory the program was started in,\n"
                       "unless an option below names another. Translations (*.qm) are looked up there\n"
                       "first, then in the installed translations folder."));
    const QCommandLineOption workDirOption(QStringLiteral("workdir"),
        QStringLiteral("Work in DIR (an existing folder) instead of the current directory."), QStringLiteral("DIR"));
    const QCommandLineOption userDirOption(QStringLiteral("user-dir"),
        QStringLiteral("Work in the per-user data folder (%1), created when missing.")
            .arg(QDir::toNativeSeparators(homeShortened(userDir()))));
    const QCommandLineOption helpOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and exit."));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Show the version and exit."));
    parser.addOptions({ workDirOption, userDirOption, helpOption, versionOption });

    LaunchOptions options;
    auto fail = [&](const QString &text) {
        options.m_request = Request::Error;
        options.m_message = QStringLiteral("%1: %2 (see %1 --help)").arg(program, text);
        return options;
    };
    if (!parser.parse(withoutToolkitOptions(arguments)))
        return fail(parser.errorText());
    if (parser.isSet(helpOption)) {
        options.m_request = Request::Help;
        // The help text reads the program's arguments from the application
        // object, which does not exist yet when the program starts.
        int argc = 1;
        char name[] = "vexa-assistant";
        char *argv[] = { name, nullptr };
        std::unique_ptr<QCoreApplication> helpOnly;
        if (!QCoreApplication::instance())
            helpOnly = std::make_unique<QCoreApplication>(argc, argv);
        // The usage line names the program as installed, whatever argv[0] was.
        options.m_message = parser.helpText().replace(
            QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: ") + program);
        return options;
    }
    if (parser.isSet(versionOption)) {
        options.m_request = Request::Version;
        // The version the window title shows (" V4.26"), as plain "4.26".
        const QString version = QStringLiteral(VEXA_VERSION_TEXT).trimmed().remove(0, 1);
        options.m_message = program + QLatin1Char(' ') + version + QLatin1Char('\n');
        return options;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(workDirOption) && parser.isSet(userDirOption))
        return fail(QStringLiteral("--workdir and --user-dir exclude each other."));
    if (parser.isSet(workDirOption)) {
        options.m_workDir = parser.value(workDirOption);
        if (options.m_workDir.isEmpty())
            return fail(QStringLiteral("--workdir needs a folder."));
    } else if (parser.isSet(userDirOption)) {
        options.m_workDir = userDir();
        options.m_createWorkDir = true;
    }
    return options;
}

QString LaunchOptions::userDir()
{
    // Set here as well so the folder does not depend on argv[0].
    QCoreApplication::setApplicationName(QStringLiteral("vexa-assistant"));
    // The base directory rules take only absolute paths: a relative
    // XDG_DATA_HOME is ignored, not taken from wherever the program starts.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isRelativePath(dataHome))
        return QDir::homePath() + QLatin1String("/.local/share/") + QCoreApplication::applicationName();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString LaunchOptions::enterWorkDir() const
{
    if (m_workDir.isEmpty())
        return {};
    const QFileInfo info(m_workDir);
    if (m_createWorkDir && !info.exists() && !QDir().mkpath(m_workDir))
        return QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(m_workDir));
    if (!QFileInfo(m_workDir).isDir())
        return QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(m_workDir));
    if (!QDir::setCurrent(m_workDir))
        return QStringLiteral("cannot enter the folder %1").arg(QDir::toNativeSeparators(m_workDir));
    return {};
}

QString LaunchOptions::workDirFailureText() const
{
    return tr("无法使用工作目录 %1。").arg(QDir::toNativeSeparators(m_workDir));
}
