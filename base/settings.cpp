#include "base/settings.h"

QString applicationTitle(const QString &languageCode)
{
    QSettings *settings = appSettings();
    QString title;
    if (languageCode == QLatin1String("en_US"))
        title = settings->value(QStringLiteral("appname/us"), QStringLiteral("Vexa Assistant")).toString();
    else if (languageCode == QLatin1String("zh_TW"))
        title = settings->value(QStringLiteral("appname/tw"), QStringLiteral("Vexa助手")).toString();
    else
        title = settings->value(QStringLiteral("appname/ch"), QStringLiteral("Vexa助手")).toString();
    if (settings->value(QStringLiteral("appname/ver"), true).toBool())
        title += QStringLiteral(VEXA_VERSION_TEXT);
    return title;
}

QString applicationTitle()
{
    return applicationTitle(appSettings()->value(QStringLiteral("language/language")).toString());
}
