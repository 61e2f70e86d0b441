// The item answer (addr 03 n text crc) and its split into name and value.
#include "fuzzsupport.h"
#include "items/itemframes.h"
#include "link/frame.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const quint8 address = data[0];
    const QByteArray answer = fuzzBytes(data + 1, size - 1);

    QStringList fields;
    const bool parsed = parseItemAnswer(answer, address, &fields);
    if (parsed) {
        FUZZ_CHECK(answer.size() == quint8(answer.at(2)) + 5);
        FUZZ_CHECK(quint8(answer.at(0)) == address);
        const QString text = decodeGb2312(answer.mid(3, answer.size() - 5));
        FUZZ_CHECK(fields.size() == text.count(QLatin1Char(':')) + 1);
        for (const QString &field : fields)
            FUZZ_CHECK(field == field.trimmed());
    }
    // A null out-parameter only checks.
    FUZZ_CHECK(parseItemAnswer(answer, address, nullptr) == parsed);

    // The whole input as item text, as the tree and the edit dialog see it.
    const QStringList parts = splitItemText(decodeGb2312(answer));
    FUZZ_CHECK(!parts.isEmpty());
    FUZZ_CHECK(buildItemReadFrame(address, int(size)).size() == 8);
    return 0;
}
