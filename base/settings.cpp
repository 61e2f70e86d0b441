#include "base/settings.h"

#include "base/settingskeys.h"

QString applicationTitle(const QString &languageCode)
{
    QSettings *settings = appSettings();
    QString title;
    if (languageCode == QLatin1String("en_US"))
        title = settings->value(SettingsKey::kAppNameUs, QStringLiteral("Vexa Assistant")).toString();
    else if (languageCode == QLatin1String("zh_TW"))
        title = settings->value(SettingsKey::kAppNameTw, QStringLiteral("Vexa助手")).toString();
    else
        title = settings->value(SettingsKey::kAppNameCh, QStringLiteral("Vexa助手")).toString();
    if (settings->value(SettingsKey::kAppNameVersion, true).toBool())
        title += QStringLiteral(VEXA_VERSION_TEXT);
    return title;
}

QString applicationTitle()
{
    return applicationTitle(storedLanguage());
}

QString storedLanguage()
{
    return appSettings()->value(SettingsKey::kLanguage).toString();
}

void storeLanguage(const QString &code)
{
    appSettings()->setValue(SettingsKey::kLanguage, code);
}

QSize storedWindowSize()
{
    QSettings *settings = appSettings();
    return QSize(
        settings->value(SettingsKey::kWindowWidth).toInt(), settings->value(SettingsKey::kWindowHeight).toInt());
}

void storeWindowSize(const QSize &size)
{
    QSettings *settings = appSettings();
    settings->setValue(SettingsKey::kWindowWidth, size.width());
    settings->setValue(SettingsKey::kWindowHeight, size.height());
}
