#include "cli/cliapp.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexa-cli"));
    installCliTranslation();
    return runCli(QCoreApplication::arguments());
}
