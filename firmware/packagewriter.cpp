#include "firmware/packagewriter.h"

#include "firmware/dencryptinfo.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

QByteArray serializePackageMap(const QMap<QString, QVariant> &map)
{
    QByteArray content;
    QDataStream stream(&content, QIODevice::WriteOnly);
    stream << map;
    return content;
}

QByteArray encodePackageText(const QByteArray &content, const QByteArray &digest)
{
    QByteArray outer;
    QDataStream stream(&outer, QIODevice::WriteOnly);
    stream << content << digest;
    return outer.toBase64();
}

QMap<QString, QVariant> packageMap(
    const QString &device, const QString &version, const QString &model, const QByteArray &image)
{
    QMap<QString, QVariant> map;
    map.insert(QLatin1String(kPackageDeviceKey), device);
    map.insert(QLatin1String(kPackageVersionKey), version);
    map.insert(QLatin1String(kPackageModelKey), model);
    map.insert(QLatin1String(kPackageImageKey), image);
    return map;
}

namespace {

QString writeDatabase(const QString &connection, const QString &path, const QByteArray &text)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    if (!db.open())
        return QStringLiteral("cannot create %1: %2").arg(path, db.lastError().text());
    QString error;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("create table INFO (DATA text)")))
            error = query.lastError().text();
        else if (!query.prepare(QStringLiteral("insert into INFO (DATA) values (?)")))
            error = query.lastError().text();
        else {
            query.addBindValue(QString::fromLatin1(text));
            if (!query.exec())
                error = query.lastError().text();
        }
    }
    db.close();
    return error.isEmpty() ? QString() : QStringLiteral("cannot write %1: %2").arg(path, error);
}

} // namespace

QString writePackageDatabase(const QString &path, const QByteArray &text)
{
    if (path.isEmpty())
        return QStringLiteral("no output file given");
    const QFileInfo target(path);
    if (target.isDir())
        return QStringLiteral("%1 is a folder").arg(path);

    // Built beside the target and moved over it, so a half-written package
    // never carries the final name.
    static QAtomicInt serial;
    const int number = serial.fetchAndAddRelaxed(1);
    const QString temporary
        = QStringLiteral("%1.%2-%3.part").arg(path).arg(QCoreApplication::applicationPid()).arg(number);
    QFile::remove(temporary);
    const QString connection = QStringLiteral("vexa-pack-writer-%1").arg(number);
    const QString error = writeDatabase(connection, temporary, text);
    QSqlDatabase::removeDatabase(connection);
    if (!error.isEmpty()) {
        QFile::remove(temporary);
        return error;
    }
    if (target.exists() && !QFile::remove(path)) {
        QFile::remove(temporary);
        return QStringLiteral("cannot replace %1").arg(path);
    }
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        return QStringLiteral("cannot create %1").arg(path);
    }
    return QString();
}

QString writePackageFile(
    const QString &path, const QString &device, const QString &version, const QString &model, const QByteArray &image)
{
    const QByteArray content = serializePackageMap(packageMap(device, version, model, image));
    const QByteArray digest = QCryptographicHash::hash(content, QCryptographicHash::Md5);
    return writePackageDatabase(path, encodePackageText(content, digest));
}
