// The history answer: unframed GB2312 text in chunks as the channel delivers
// them, cut into lines by the reader, then split into fields for the export.
#include "fuzzsupport.h"
#include "history/historyexport.h"
#include "history/readthread.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    QStringList lines;
    {
        ReadThread reader;
        QObject::connect(&reader, &ReadThread::signalAddText, [&lines](const QString &text) { lines << text; });
        QByteArray joined;
        for (const QByteArray &chunk : fuzzChunks(input)) {
            reader.onReceiveData(chunk);
            joined += chunk;
        }
        FUZZ_CHECK(lines.size() == joined.count('\n'));
    }

    // The dialog's text as the export reads it.
    const QString text = lines.join(QString());
    const QStringList exportLines = historyTextLines(text);
    const int columns = historyColumnCount(exportLines);
    for (const QString &line : exportLines) {
        const QStringList fields = historyFields(line);
        for (const QString &field : fields)
            FUZZ_CHECK(!field.isEmpty());
        if (columns >= 2)
            FUZZ_CHECK(historyCells(line, columns).size() <= qMax(columns, fields.size()));
    }
    return 0;
}
