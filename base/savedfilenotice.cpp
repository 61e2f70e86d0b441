#include "base/savedfilenotice.h"

#include <QDir>
#include <QFileInfo>

SavedFileNotice &SavedFileNotice::instance()
{
    static SavedFileNotice notice;
    return notice;
}

void SavedFileNotice::announce(const QString &path, const QString &lead)
{
    emit instance().saved(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), lead);
}
