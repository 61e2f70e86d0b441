#include "tests/support/tempworkdir.h"

#include <QDir>
#include <QFile>

TempWorkDir::TempWorkDir()
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TempWorkDir::~TempWorkDir()
{
    QDir::setCurrent(m_previous);
}

QString TempWorkDir::path() const
{
    return m_dir.path();
}

QString TempWorkDir::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}

bool TempWorkDir::copyTranslations() const
{
    bool ok = true;
    for (const char *name : { "en_US.qm", "zh_TW.qm", "zh_CH.qm" }) {
        const QString from = QStringLiteral(VEXA_QM_DIR "/") + QLatin1String(name);
        QFile::remove(filePath(QLatin1String(name)));
        ok = QFile::copy(from, filePath(QLatin1String(name))) && ok;
    }
    return ok;
}

bool TempWorkDir::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(content) == content.size();
}

QByteArray TempWorkDir::readFile(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
