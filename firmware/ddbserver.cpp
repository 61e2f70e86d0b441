#include "firmware/ddbserver.h"

#include "firmware/dencryptinfo.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QObject>
#include <QSqlQuery>

const char kPackageConnectionName[] = "{2E451E41-C049-4DED-911D-15B6DA036408}";

DDbServer::DDbServer(const QString &connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        m_database = QSqlDatabase::database(connectionName, false);
    else
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
}

DDbServer::~DDbServer()
{
    m_database.close();
}

int DDbServer::countRows(const QString &sql)
{
    QSqlQuery query(m_database);
    if (!query.prepare(sql) || !query.exec() || !query.next())
        return 0;
    return query.value(0).toInt();
}

QString DDbServer::readPackageText(const QString &path, QByteArray &text)
{
    text.clear();
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable())
        return QObject::tr("解析文件失败,文件不存在或拒绝访问!");

    // Read-only, so a user's file is never written and no journal is left beside it.
    m_database.close();
    m_database.setDatabaseName(path);
    m_database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_database.open())
        return QObject::tr("解析文件失败,打开文件失败,请检查文件类型!");

    // A file that is not a database only fails here: SQLite reads lazily.
    if (countRows(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = 'INFO'")) != 1)
        return QObject::tr("解析文件失败,文件操作失败!");
    if (countRows(QStringLiteral("select count(*) from INFO")) != 1)
        return QObject::tr("解析文件失败,文件操作失败!");

    QSqlQuery query(m_database);
    if (!query.prepare(QStringLiteral("select * from INFO")) || !query.exec() || !query.next())
        return QObject::tr("解析文件失败,无法获取文件内容!");
    text = query.value(0).toByteArray();
    return QString();
}

QString decodePackageText(const QByteArray &text, QMap<QString, QVariant> &map)
{
    // Lenient: characters outside the alphabet (line breaks) are skipped.
    const QByteArray decoded = QByteArray::fromBase64(text);
    QByteArray content;
    QByteArray digest;
    {
        QDataStream outer(decoded);
        outer >> content >> digest;
    }
    if (QCryptographicHash::hash(content, QCryptographicHash::Md5) != digest)
        return QObject::tr("解析文件失败,文件校验失败!");

    // An unreadable map leaves it empty; QDataStream clears it on failure.
    QMap<QString, QVariant> contentMap;
    QDataStream inner(content);
    inner >> contentMap;
    map = contentMap;
    return QString();
}

QString DDbServer::parseFile(DEncryptInfo &info)
{
    QByteArray text;
    const QString error = readPackageText(info.filePath(), text);
    if (!error.isEmpty())
        return error;

    QMap<QString, QVariant> map;
    const QString decodeError = decodePackageText(text, map);
    if (!decodeError.isEmpty())
        return decodeError;
    info.setInfoMap(map);
    return QString();
}
