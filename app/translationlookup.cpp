#include "app/translationlookup.h"

#include <QDir>
#include <QRegularExpression>
#include <QTranslator>

QStringList translationFallbackDirs(const QString &executableDir)
{
    const QDir dir(executableDir);
    // bin/ and share/ are siblings below the installation prefix.
    return { QDir::cleanPath(dir.filePath(QStringLiteral("../share/vexa-assistant/translations"))),
        QDir::cleanPath(executableDir) };
}

bool loadTranslation(QTranslator &translator, const QString &code, const QStringList &fallbackDirs)
{
    if (translator.load(code, QString(), QString(), QString()))
        return true;
    // Only plain language codes leave the working directory: a stored code
    // must not name some other file on the system.
    static const QRegularExpression kPlainCode(QStringLiteral("^[A-Za-z]{2,3}(_[A-Za-z0-9]{2,4})?$"));
    if (!kPlainCode.match(code).hasMatch())
        return false;
    for (const QString &dir : fallbackDirs) {
        if (translator.load(code, dir, QString(), QString()))
            return true;
    }
    return false;
}
