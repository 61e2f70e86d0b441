#include "base/config.h"

#include <QTextCodec>

Config::Config()
    : m_settings(new QSettings(QStringLiteral("config.ini"), QSettings::IniFormat))
{
    m_settings->setIniCodec(QTextCodec::codecForName("utf-8"));
}

Config::~Config()
{
    delete m_settings; // flushes config.ini
}

QSettings *Config::settings() const
{
    return m_settings;
}
