#pragma once

#include <QSettings>

// Owns the settings object for config.ini in the working directory.
class Config
{
public:
    Config();
    virtual ~Config();

    Config(const Config &) = delete;
    Config &operator=(const Config &) = delete;

    QSettings *settings() const;

private:
    QSettings *m_settings;
};
