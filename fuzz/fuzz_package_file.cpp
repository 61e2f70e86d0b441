// A firmware package file: any bytes written to a file, then the whole parse
// (SQLite, Base64, streams, MD5, map). The file must never change.
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString path = fuzzWriteFile("input.vexabin", bytes);

    DEncryptInfo info;
    info.setFilePath(path);
    QString error;
    {
        DDbServer server(QString::fromLatin1(kPackageConnectionName));
        error = server.parseFile(info);
    }
    if (!error.isEmpty())
        FUZZ_CHECK(info.infoMap().isEmpty());
    // Touch the values as the dialog and the update worker do.
    (void)info.device();
    (void)info.version();
    (void)info.model();
    (void)info.image();

    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    FUZZ_CHECK(file.readAll() == bytes);
    const QStringList beside = QFileInfo(path).dir().entryList({ QStringLiteral("input.vexabin*") }, QDir::Files);
    FUZZ_CHECK(beside.size() == 1);
    return 0;
}
