#include "firmware/ddbserver.h"

#include "firmware/dencryptinfo.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QMetaType>
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

namespace {

// Value types with a flat stream form. Containers (lists, maps, string lists,
// user types ...) are left out: their element count makes the stream reserve
// that many entries before reading any, and they nest without bound, so a few
// bytes of a hostile package could ask for gigabytes or overflow the stack.
bool isFlatValueType(quint32 type)
{
    switch (type) {
    case QMetaType::UnknownType:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QChar:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QBitArray:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
    case QMetaType::QUrl:
    case QMetaType::QUuid:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::SChar:
        return true;
    default:
        return false;
    }
}

// Walks the content map entry by entry; false as soon as an entry is
// unreadable or holds a value type that is not flat.
bool isReadableContentMap(const QByteArray &content)
{
    QDataStream stream(content);
    quint32 count = 0;
    stream >> count;
    // Every entry takes bytes, so a huge count ends at the end of the data.
    for (quint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QString key;
        quint32 type = 0;
        stream >> key >> type;
        if (stream.status() != QDataStream::Ok || !isFlatValueType(type))
            return false;
        stream.device()->seek(stream.device()->pos() - qint64(sizeof(type)));
        QVariant value;
        stream >> value;
    }
    return stream.status() == QDataStream::Ok;
}

} // namespace

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
    if (isReadableContentMap(content)) {
        QDataStream inner(content);
        inner >> contentMap;
    }
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
