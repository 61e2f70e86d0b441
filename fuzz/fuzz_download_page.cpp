// The maker's download page body, as the list fetch hands it to the parser.
#include "makersite/devicetypemgr.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    DeviceTypeMgr manager;
    const bool ok = manager.parsePage(fuzzBytes(data, size));
    const QMap<QString, QString> list = manager.packageList();
    if (!ok)
        FUZZ_CHECK(list.isEmpty());
    return 0;
}
