#include "base/filenames.h"

#include "base/settings.h"
#include "base/settingskeys.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

const char *const kItemFiles = "items";
const char *const kHistoryFiles = "history";

namespace {

QString folderKey(const char *kind)
{
    return SettingsKey::kFoldersGroup + QLatin1String(kind);
}

} // namespace

QString itemsFileName(const QString &model, const QDateTime &when)
{
    static const QRegularExpression kUnsafe(QStringLiteral("[\\\\/:*?\"<>|\\s\\x00-\\x1f]+"));
    QString name = model.trimmed();
    name.replace(kUnsafe, QStringLiteral("_"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("config");
    return name + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".csv");
}

QString historyFileName(const QDate &from, const QDate &to, const QString &suffix)
{
    return QStringLiteral("history_%1_%2.%3")
        .arg(from.toString(QStringLiteral("yyyyMMdd")), to.toString(QStringLiteral("yyyyMMdd")), suffix);
}

bool isProgramFileName(const QString &fileName)
{
    for (const char *own : { "config.ini", "journal.csv", "SkipItems" }) {
        if (fileName.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return true;
    }
    return fileName.endsWith(QLatin1String(".qm"), Qt::CaseInsensitive);
}

QString withSuffix(const QString &path, const QString &suffix)
{
    // A suffix the user typed is a choice; only a bare name gets ours.
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString lastFolder(const char *kind)
{
    const QString folder = appSettings()->value(folderKey(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void rememberFolder(const char *kind, const QString &filePath)
{
    if (!filePath.isEmpty())
        appSettings()->setValue(folderKey(kind), QFileInfo(filePath).absolutePath());
}
