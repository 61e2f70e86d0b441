#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Creates the QCoreApplication every target needs (SQL driver plug-ins, codecs,
// translations) and silences Qt's warnings, which malformed input makes plenty of.
void fuzzInitialize();

// A file in a private temporary folder holding the bytes; the same path for
// every input of a run, so each run rewrites it.
QString fuzzWriteFile(const char *name, const QByteArray &bytes);

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// Aborts with a message: a broken invariant is a finding like a crash.
[[noreturn]] void fuzzFail(const char *what);
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFail(#condition);                                                                                      \
    } while (false)

// Splits input into pieces at every 0xF5 byte (removed), so one input can
// carry several chunks of a stream.
QList<QByteArray> fuzzChunks(const QByteArray &input);
