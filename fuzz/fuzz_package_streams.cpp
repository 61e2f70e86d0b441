// The two data streams of a package. First byte even: the bytes are the outer
// stream (content, digest) as Base64 decoding yields it. Odd: the bytes are the
// content (the inner map stream), wrapped with a matching digest so the MD5
// check lets them through.
#include "firmware/ddbserver.h"
#include "firmware/packagewriter.h"
#include "fuzzsupport.h"

#include <QCryptographicHash>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    QByteArray text;
    if (data[0] % 2 == 0)
        text = bytes.toBase64();
    else
        text = encodePackageText(bytes, QCryptographicHash::hash(bytes, QCryptographicHash::Md5));

    QMap<QString, QVariant> map;
    const QString error = decodePackageText(text, map);
    if (data[0] % 2 == 1)
        FUZZ_CHECK(error.isEmpty());
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        (void)it.value().toString();
        (void)it.value().toByteArray();
    }
    return 0;
}
