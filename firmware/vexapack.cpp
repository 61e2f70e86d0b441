// vexa-pack: writes and inspects firmware package files.

#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>

#include <cstdio>

namespace {

void print(FILE *stream, const QString &text)
{
    fputs(text.toUtf8().constData(), stream);
    fputc('\n', stream);
}

int inspect(const QString &path)
{
    QByteArray text;
    {
        DDbServer server { QLatin1String(kPackageConnectionName) };
        const QString error = server.readPackageText(path, text);
        if (!error.isEmpty()) {
            print(stderr, QStringLiteral("%1: %2").arg(path, error));
            return 2;
        }
    }
    QByteArray content;
    QByteArray digest;
    QDataStream outer(QByteArray::fromBase64(text));
    outer >> content >> digest;
    const QByteArray computed = QCryptographicHash::hash(content, QCryptographicHash::Md5);
    const bool digestOk = computed == digest;

    // Shown even when the digest fails, so a broken package can be diagnosed.
    DEncryptInfo info;
    info.setFilePath(path);
    info.setInfoMap(readContentMap(content));
    const QByteArray image = info.image();

    print(stdout, QStringLiteral("file:    %1").arg(path));
    print(stdout, QStringLiteral("device:  %1").arg(info.device()));
    print(stdout, QStringLiteral("version: %1").arg(info.version()));
    print(stdout, QStringLiteral("model:   %1").arg(info.model()));
    print(stdout, QStringLiteral("image:   %1 bytes, %2 pages").arg(image.size()).arg((image.size() + 1023) / 1024));
    print(stdout,
        QStringLiteral("md5:     %1")
            .arg(QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Md5).toHex())));
    if (digestOk)
        print(stdout, QStringLiteral("digest:  ok"));
    else
        print(stdout,
            QStringLiteral("digest:  MISMATCH (stored %1, content %2)")
                .arg(QString::fromLatin1(digest.toHex()), QString::fromLatin1(computed.toHex())));
    return digestOk ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexa-pack"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a firmware package (*.vexabin) from an image file and three texts, or inspects one.\n"
                       "\n"
                       "Write:   vexa-pack --device TEXT --version TEXT --model TEXT --image FILE -o OUT.vexabin\n"
                       "Inspect: vexa-pack --inspect FILE.vexabin\n"
                       "\n"
                       "The model text must match the model the instrument names in its identification reply\n"
                       "(\"Find <model> OK\"); it is used there as a pattern, so avoid . * + ? ( ) [ ] \\ in it.\n"
                       "An existing output file is replaced. Exit status: 0 success, 1 usage or file error,\n"
                       "2 the inspected package is unreadable or its digest does not match."));
    parser.addHelpOption();
    const QCommandLineOption deviceOption(
        QStringLiteral("device"), QStringLiteral("Device name shown to the user."), QStringLiteral("text"));
    const QCommandLineOption versionOption(
        QStringLiteral("version"), QStringLiteral("Firmware version text."), QStringLiteral("text"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
        QStringLiteral("Instrument model, checked against the instrument before writing."), QStringLiteral("text"));
    const QCommandLineOption imageOption(
        QStringLiteral("image"), QStringLiteral("Firmware image file (raw bytes)."), QStringLiteral("file"));
    const QCommandLineOption outputOption({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("Package file to write."), QStringLiteral("file"));
    const QCommandLineOption inspectOption(QStringLiteral("inspect"),
        QStringLiteral("Print the texts, the image size and MD5 of a package, and whether its digest checks."),
        QStringLiteral("file"));
    parser.addOptions({ deviceOption, versionOption, modelOption, imageOption, outputOption, inspectOption });
    parser.process(app);

    if (parser.isSet(inspectOption))
        return inspect(parser.value(inspectOption));

    for (const QCommandLineOption &option : { deviceOption, versionOption, modelOption, imageOption, outputOption }) {
        if (!parser.isSet(option)) {
            print(stderr, QStringLiteral("vexa-pack: --%1 is missing (see --help)").arg(option.names().last()));
            return 1;
        }
    }
    QFile imageFile(parser.value(imageOption));
    if (!imageFile.open(QIODevice::ReadOnly)) {
        print(
            stderr, QStringLiteral("vexa-pack: cannot read %1: %2").arg(imageFile.fileName(), imageFile.errorString()));
        return 1;
    }
    const QByteArray image = imageFile.readAll();
    const QString error = writePackageFile(parser.value(outputOption), parser.value(deviceOption),
        parser.value(versionOption), parser.value(modelOption), image);
    if (!error.isEmpty()) {
        print(stderr, QStringLiteral("vexa-pack: %1").arg(error));
        return 1;
    }
    return 0;
}
