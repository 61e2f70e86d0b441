#pragma once

#include "base/config.h"
#include "base/singleton.h"

#include <QSize>
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

// The language chosen last: "en_US", "zh_TW", "zh_CH", or whatever was stored.
QString storedLanguage();
void storeLanguage(const QString &code);

// The window's size when it last closed (0 where nothing is stored).
QSize storedWindowSize();
void storeWindowSize(const QSize &size);
