// The response acceptance rule and the frame checks, fed the way the channel
// feeds them: a buffer that grows chunk by chunk.
#include "fuzzsupport.h"
#include "link/frame.h"

#include <QList>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 address = data[0];
    const bool highFirst = data[1] & 1;
    const QByteArray body = fuzzBytes(data + 2, size - 2);

    QByteArray buffer;
    for (const QByteArray &chunk : fuzzChunks(body)) {
        buffer += chunk;
        const bool complete = isCompleteResponse(buffer, address, highFirst);
        if (complete) {
            const auto *b = reinterpret_cast<const unsigned char *>(buffer.constData());
            const int n = buffer.size();
            if (b[0] == address) {
                FUZZ_CHECK(n >= 5 && n == b[2] + 5);
                FUZZ_CHECK(checkFrameCrc(buffer, highFirst));
            } else if (b[0] == 0x7E) {
                FUZZ_CHECK(n >= 5 && b[n - 1] == 0x7F);
                FUZZ_CHECK(checkFrameCrc(b, n - 1, highFirst));
            } else {
                FUZZ_CHECK(checkFrameCrc(buffer, highFirst));
            }
        }
        const QString error = linkErrorText(LinkOk, buffer);
        FUZZ_CHECK(error.isEmpty() == (buffer.size() > 2 && checkFrameCrc(buffer, false)));
    }
    FUZZ_CHECK(!checkFrameCrc(buffer.left(2), highFirst));

    // The texts frames carry, and the rendering used in messages.
    FUZZ_CHECK(hexDump(buffer).size() == 3 * buffer.size());
    const QString text = decodeGb2312(buffer);
    const QByteArray again = encodeGb2312(text);
    const QByteArray frame = buildItemWriteFrame(address, data[1], text);
    FUZZ_CHECK(frame.isEmpty() == !itemTextFits(text));
    if (!frame.isEmpty()) {
        FUZZ_CHECK(frame.size() == again.size() + 10);
        FUZZ_CHECK(quint8(frame.at(6)) == again.size() + 1);
        FUZZ_CHECK(checkFrameCrc(frame, false));
    }
    return 0;
}
