#include "app/launchoptions.h"
#include "app/mainwindow.h"
#include "base/messageboxes.h"
#include "base/translationlookup.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // A write into a pipe whose reader left fails with its reason (shown like
    // any write failure) instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const LaunchOptions options = LaunchOptions::parse(arguments);
    switch (options.request()) {
    case LaunchOptions::Request::Help:
    case LaunchOptions::Request::Version:
        std::fputs(options.message().toLocal8Bit().constData(), stdout);
        return 0;
    case LaunchOptions::Request::Error:
        std::fprintf(stderr, "%s\n", options.message().toLocal8Bit().constData());
        return 2;
    case LaunchOptions::Request::Start:
        break;
    }
    const QString workDirError = options.enterWorkDir();

    // Plugins and libraries shipped beside the program are found from here.
    QCoreApplication::addLibraryPath(QStringLiteral("."));
    QApplication app(argc, argv);
    if (!workDirError.isEmpty()) {
        // Started from the desktop menu nobody reads stderr: say it in a box,
        // in the desktop's language where a translation is installed.
        std::fprintf(stderr, "vexa-assistant: %s\n", workDirError.toLocal8Bit().constData());
        QTranslator translator;
        if (loadProgramTranslation(translator, QLocale::system().name()))
            QApplication::installTranslator(&translator);
        showCriticalBox(options.workDirFailureText(), nullptr);
        return 1;
    }
    MainWindow window;
    window.show();
    return app.exec();
}
