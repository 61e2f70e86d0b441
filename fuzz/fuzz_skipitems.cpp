// The "SkipItems" file: any bytes, including zeros and invalid UTF-8.
#include "fuzzsupport.h"
#include "items/skipitems.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzWriteFile("SkipItems", fuzzBytes(data, size));
    const SkipMap map = loadSkipFile(path);
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        FUZZ_CHECK(!it.key().contains(QLatin1Char(' ')));
        FUZZ_CHECK(!it.key().contains(QChar(0)));
        for (const QString &model : it.value())
            FUZZ_CHECK(!model.contains(QLatin1Char(' ')) && !model.contains(QLatin1Char(',')));
    }
    FUZZ_CHECK(map.size() <= int(size) + 1);
    return 0;
}
