#include "cli/clioutput.h"

#include "base/metertext.h"

#include <QMutex>
#include <QMutexLocker>

#include <cerrno>
#include <cstdio>

namespace {

QMutex outputMutex;
QString failure; // under outputMutex

} // namespace

bool writeOutBytes(const QByteArray &bytes)
{
    QMutexLocker locker(&outputMutex);
    if (!failure.isEmpty())
        return false;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0) {
        failure = qt_error_string(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool writeOut(const QString &text)
{
    return writeOutBytes(escapedControlCharacters(text, true).toUtf8());
}

QString outFailure()
{
    QMutexLocker locker(&outputMutex);
    return failure;
}

void writeErr(const QString &text)
{
    const QByteArray bytes = escapedControlCharacters(text, true).toUtf8();
    QMutexLocker locker(&outputMutex);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString shownValue(const QString &text)
{
    return escapedControlCharacters(text);
}
