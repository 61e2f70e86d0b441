#include "firmware/ddbserver.h"

#include "firmware/dencryptinfo.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QMetaType>
#include <QObject>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

const char kPackageConnectionName[] = "{2E451E41-C049-4DED-911D-15B6DA036408}";
const int kMaxPackageTextBytes = 128 * 1024 * 1024;

namespace {

// SQLite virtual machine steps a whole parse may take: a real package needs a
// few hundred; a hostile schema (views, generated columns) gets cut off.
const int kProgressStep = 10000;
const int kMaxProgressSteps = 1000;

int stopRunawayQuery(void *steps)
{
    return ++*static_cast<int *>(steps) > kMaxProgressSteps ? 1 : 0;
}

// Names in SQL between double quotes.
QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

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

    // Read-only and immutable, so a user's file is never written and nothing
    // is left beside it: read-only alone still creates -wal and -shm files
    // for a file whose header asks for write-ahead logging.
    m_database.close();
    m_database.setDatabaseName(
        QString::fromLatin1(QUrl::fromLocalFile(file.absoluteFilePath()).toEncoded()) + QStringLiteral("?immutable=1"));
    m_database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    if (!m_database.open())
        return QObject::tr("解析文件失败,打开文件失败,请检查文件类型!");
    limitConnection();

    // A file that is not a database only fails here: SQLite reads lazily.
    if (countRows(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = 'INFO'")) != 1)
        return QObject::tr("解析文件失败,文件操作失败!");
    if (countRows(QStringLiteral("select count(*) from INFO")) != 1)
        return QObject::tr("解析文件失败,文件操作失败!");

    // Only the first column is read, and only after SQLite told its size:
    // "select *" would compute every column of the row, and a generated
    // column can expand a few bytes of file into gigabytes.
    const QString column = firstColumnName();
    if (column.isEmpty() || firstColumnIsComputed())
        return QObject::tr("解析文件失败,无法获取文件内容!");
    QSqlQuery size(m_database);
    if (!size.prepare(QStringLiteral("select typeof(%1), length(cast(%1 as blob)) from INFO").arg(column))
        || !size.exec() || !size.next() || size.value(1).toLongLong() > kMaxPackageTextBytes)
        return QObject::tr("解析文件失败,无法获取文件内容!");
    const QString type = size.value(0).toString();
    size.finish();

    // Text is read as its bytes: the Base64 alphabet is ASCII, and going
    // through UTF-16 would only triple the memory.
    QSqlQuery query(m_database);
    const QString select = type == QLatin1String("text") || type == QLatin1String("blob")
        ? QStringLiteral("select cast(%1 as blob) from INFO")
        : QStringLiteral("select %1 from INFO");
    if (!query.prepare(select.arg(column)) || !query.exec() || !query.next())
        return QObject::tr("解析文件失败,无法获取文件内容!");
    text = query.value(0).toByteArray();
    return QString();
}

void DDbServer::limitConnection()
{
    const QVariant handle = m_database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    if (!db)
        return;
    // No string or blob, stored or computed, may grow beyond the package bound.
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxPackageTextBytes);
    m_progressSteps = 0;
    sqlite3_progress_handler(db, kProgressStep, stopRunawayQuery, &m_progressSteps);
}

bool DDbServer::firstColumnIsComputed()
{
    // A virtual generated column is computed on every read: a few bytes of
    // schema could make even its size check build the whole content, up to
    // the length cap, before anything is known. A package stores its text.
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral("pragma table_xinfo(INFO)")))
        return false;
    while (query.next()) {
        const int hidden = query.value(6).toInt();
        // 1: a hidden column of a virtual table, not part of "select *".
        if (hidden != 1)
            return hidden == 2;
    }
    return false;
}

QString DDbServer::firstColumnName()
{
    // The statement's columns are known once it is prepared; nothing is run.
    const QVariant handle = m_database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return QString();
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3_stmt *statement = nullptr;
    QString name;
    if (db && sqlite3_prepare_v2(db, "select * from INFO", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_column_count(statement) > 0) {
        if (const char *text = sqlite3_column_name(statement, 0))
            name = QString::fromUtf8(text);
    }
    sqlite3_finalize(statement);
    return name.isEmpty() ? QString() : quotedName(name);
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

    map = readContentMap(content);
    return QString();
}

QMap<QString, QVariant> readContentMap(const QByteArray &content)
{
    // An unreadable map leaves it empty; QDataStream clears it on failure.
    QMap<QString, QVariant> contentMap;
    if (isReadableContentMap(content)) {
        QDataStream inner(content);
        inner >> contentMap;
    }
    return contentMap;
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
