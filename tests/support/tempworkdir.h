#pragma once

#include <QString>
#include <QTemporaryDir>

// Moves the process into a fresh temporary working directory for the lifetime
// of the object, so config.ini, SkipItems and .qm files never touch the tree.
class TempWorkDir
{
public:
    TempWorkDir();
    ~TempWorkDir();

    QString path() const;
    QString filePath(const QString &name) const;
    // Copies the released translation files (en_US.qm, zh_TW.qm) in.
    bool copyTranslations() const;
    bool writeFile(const QString &name, const QByteArray &content) const;
    QByteArray readFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
