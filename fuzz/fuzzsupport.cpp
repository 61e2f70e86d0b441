#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        std::abort();
    }
}

QTemporaryDir *folder()
{
    // Removed at exit; a crash leaves it for the reproducer.
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vexa-fuzz-XXXXXX"));
    return &dir;
}

} // namespace

void fuzzInitialize()
{
    static int argc = 1;
    static char name[] = "vexa-fuzz";
    static char *argv[] = { name, nullptr };
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    if (!qEnvironmentVariableIsSet("VEXA_FUZZ_VERBOSE"))
        qInstallMessageHandler(quietHandler);
}

QString fuzzWriteFile(const char *name, const QByteArray &bytes)
{
    const QString path = folder()->filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzFail("cannot write the input file");
    file.close();
    return path;
}

void fuzzFail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

QList<QByteArray> fuzzChunks(const QByteArray &input)
{
    return input.split(char(0xF5));
}
