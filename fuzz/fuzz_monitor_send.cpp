// The monitor's send line: typed hex or text with a line end and CRC, and the
// saved commands as a stored line and as a command file, read, written and
// read again.
#include "fuzzsupport.h"
#include "link/frame.h"
#include "monitor/monitorcommand.h"
#include "monitor/monitorsend.h"

namespace {

QByteArray lineEndBytes(SendLineEnd lineEnd)
{
    switch (lineEnd) {
    case SendLineEnd::Cr:
        return QByteArrayLiteral("\r");
    case SendLineEnd::Lf:
        return QByteArrayLiteral("\n");
    case SendLineEnd::CrLf:
        return QByteArrayLiteral("\r\n");
    case SendLineEnd::None:
        break;
    }
    return {};
}

bool sameCommands(const QList<MonitorCommand> &a, const QList<MonitorCommand> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).toLine() != b.at(i).toLine())
            return false;
    }
    return true;
}

void checkPayload(const SendRequest &request)
{
    const SendPayload payload = buildSendPayload(request);
    FUZZ_CHECK(payload.error.isEmpty() != payload.bytes.isEmpty());
    FUZZ_CHECK(payload.bytes.size() <= kMaxSendBytes);
    if (!payload.error.isEmpty())
        return;
    const QByteArray end = lineEndBytes(request.lineEnd);
    FUZZ_CHECK(payload.bytes.endsWith(end));
    QByteArray body = payload.bytes.left(payload.bytes.size() - end.size());
    if (request.appendCrc && !body.isEmpty()) {
        FUZZ_CHECK(body.size() >= 3 && checkFrameCrc(body, false));
        body.chop(2);
    }
    if (request.mode == SendMode::Hex) {
        int position = 0;
        bool unpaired = false;
        FUZZ_CHECK(parseHexBytes(request.text, &position, &unpaired) == body && position == 0);
        // What was sent, typed again with blanks, sends the same bytes.
        FUZZ_CHECK(parseHexBytes(QString::fromLatin1(body.toHex(' ')), &position, &unpaired) == body);
    } else {
        FUZZ_CHECK(decodeGb2312(body) == request.text);
    }
}

void checkHexError(const QString &text)
{
    int position = 0;
    bool unpaired = false;
    const QByteArray bytes = parseHexBytes(text, &position, &unpaired);
    FUZZ_CHECK(position >= 0 && position <= text.size());
    FUZZ_CHECK(position == 0 || bytes.isEmpty());
    FUZZ_CHECK(position > 0 || !unpaired);
}

void checkCommands(const QByteArray &content)
{
    // The setting's list: what is kept survives being stored and read again.
    const QList<MonitorCommand> stored = commandsFromLines(QString::fromUtf8(content).split(QLatin1Char('\n')));
    FUZZ_CHECK(stored.size() <= kMaxMonitorCommands);
    FUZZ_CHECK(sameCommands(commandsFromLines(commandsToLines(stored)), stored));
    for (const MonitorCommand &command : stored)
        FUZZ_CHECK(buildSendPayload(command.request()).error.isEmpty());

    // A command file imported, exported and imported again holds the same.
    QList<MonitorCommand> imported;
    if (!readCommandFile(fuzzWriteFile("commands.txt", content), &imported).isEmpty())
        return;
    FUZZ_CHECK(imported.size() <= kMaxMonitorCommands);
    const QString exported = fuzzWriteFile("exported.txt", {});
    FUZZ_CHECK(writeCommandFile(exported, imported).isEmpty());
    QList<MonitorCommand> again;
    FUZZ_CHECK(readCommandFile(exported, &again).isEmpty());
    FUZZ_CHECK(sameCommands(again, imported));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

// The first byte picks the options: bit 0 hex, bits 1-2 the line end, bit 3
// the CRC. The rest is the typed text and, as it is, a command file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    SendRequest request;
    request.mode = data[0] & 1 ? SendMode::Hex : SendMode::Text;
    request.lineEnd = SendLineEnd(data[0] >> 1 & 3);
    request.appendCrc = data[0] & 8;
    const QByteArray rest = fuzzBytes(data + 1, size - 1);
    request.text = QString::fromUtf8(rest);

    checkPayload(request);
    checkHexError(request.text);
    checkCommands(rest);
    return 0;
}
