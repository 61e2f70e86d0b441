#include "base/translationlookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

namespace {

bool loadCode(QTranslator &translator, const QString &code, const QStringList &fallbackDirs)
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

} // namespace

QStringList translationFallbackDirs(const QString &executableDir)
{
    const QString dir = QDir::cleanPath(executableDir);
    // bin/ and share/ are siblings below the installation prefix; the
    // helpers live one level deeper, in libexec/vexa-assistant/.
    QString prefix = dir + QLatin1String("/..");
    if (dir.endsWith(QLatin1String("/libexec/vexa-assistant")))
        prefix += QLatin1String("/..");
    return { QDir::cleanPath(prefix + QLatin1String("/share/vexa-assistant/translations")), dir };
}

bool loadTranslation(QTranslator &translator, const QString &code, const QStringList &fallbackDirs)
{
    if (loadCode(translator, code, fallbackDirs))
        return true;
    if (code == QLatin1String("en_US") || code == QLatin1String("zh_TW") || code == QLatin1String("zh_CH"))
        return false;
    return loadCode(translator, QStringLiteral("zh_CH"), fallbackDirs);
}

bool loadProgramTranslation(QTranslator &translator, const QString &code)
{
    return loadTranslation(translator, code, translationFallbackDirs(QCoreApplication::applicationDirPath()));
}

QLocale languageLocale(const QString &code)
{
    if (code == QLatin1String("en_US"))
        return QLocale(QLocale::English, QLocale::UnitedStates);
    if (code == QLatin1String("zh_TW"))
        return QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
}
