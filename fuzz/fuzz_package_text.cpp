// The Base64 text of a package row, as the SQLite row hands it over.
#include "firmware/ddbserver.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QMap<QString, QVariant> map;
    map.insert(QStringLiteral("before"), 1);
    const QString error = decodePackageText(fuzzBytes(data, size), map);
    if (!error.isEmpty())
        FUZZ_CHECK(map.contains(QStringLiteral("before")) && map.size() == 1);
    return 0;
}
