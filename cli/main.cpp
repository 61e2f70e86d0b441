#include "cli/cliapp.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // A reader that left (vexa-cli ... | head) is a failed write with its
    // reason and exit status 4, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    // Only a PDF needs fonts and a painter; everything else stays without a
    // display connection.
    bool pdf = false;
    for (int i = 1; i < argc; ++i)
        pdf = pdf || std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0;
    if (pdf && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(pdf ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("vexa-cli"));
    installCliTranslation();
    return runCli(QCoreApplication::arguments());
}
