#pragma once

#include <QSqlDatabase>
#include <QString>

class DEncryptInfo;

// The one connection name every package parse uses.
extern const char kPackageConnectionName[];

// Reads a firmware package file (SQLite, table INFO, one Base64 row) into a
// DEncryptInfo. One object per parse; the named connection is reused.
class DDbServer
{
public:
    explicit DDbServer(const QString &connectionName);
    virtual ~DDbServer();

    DDbServer(const DDbServer &) = delete;
    DDbServer &operator=(const DDbServer &) = delete;

    // Empty on success (the info map is replaced), otherwise the message.
    QString parseFile(DEncryptInfo &info);
    // The first steps of the parse: open the file and fetch the row's Base64
    // text. Empty on success, otherwise the parse message.
    QString readPackageText(const QString &path, QByteArray &text);

private:
    int countRows(const QString &sql);

    QSqlDatabase m_database;
};
