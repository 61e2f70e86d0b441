#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// Keys of the package content map.
extern const char kPackageDeviceKey[];
extern const char kPackageVersionKey[];
extern const char kPackageModelKey[];
extern const char kPackageImageKey[];

// A parsed firmware package: the file it came from and its content map.
class DEncryptInfo
{
public:
    DEncryptInfo() = default;
    virtual ~DEncryptInfo() = default;

    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }

    const QMap<QString, QVariant> &infoMap() const { return m_infoMap; }
    void setInfoMap(const QMap<QString, QVariant> &map) { m_infoMap = map; }

    // Missing keys read as empty; with repeated keys the entry read last wins.
    QString device() const;
    QString version() const;
    QString model() const;
    QByteArray image() const;

private:
    QString m_filePath;
    QMap<QString, QVariant> m_infoMap;
};
