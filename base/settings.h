#pragma once

#include "base/config.h"
#include "base/singleton.h"

#include <QString>

// The process-wide settings of config.ini.
inline QSettings *appSettings()
{
    return singleton<Config>::instance()->settings();
}

// Application name for a language code, with " V4.26" when appname/ver holds.
QString applicationTitle(const QString &languageCode);
// The same for the language stored under language/language.
QString applicationTitle();
