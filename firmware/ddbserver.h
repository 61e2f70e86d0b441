#pragma once

#include <QByteArray>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class DEncryptInfo;

// The steps of a parse after the row was read: Base64, the outer stream
// (content, digest), the MD5 check and the inner map. Empty on success (map
// replaced), otherwise the parse message (map untouched).
QString decodePackageText(const QByteArray &text, QMap<QString, QVariant> &map);
// The content map of a package; empty when the stream is unreadable or holds
// values other than flat ones (see isFlatValueType).
QMap<QString, QVariant> readContentMap(const QByteArray &content);

// The one connection name every package parse uses.
extern const char kPackageConnectionName[];
// The largest Base64 text a package may hold (about 96 MiB of image, far
// beyond any instrument's memory); bigger content is refused unread.
extern const int kMaxPackageTextBytes;

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
    // Caps what SQLite may build for this file: value size and work.
    void limitConnection();
    // The first column of "select * from INFO", quoted; empty if none.
    QString firstColumnName();
    // True when that column is computed on reading (a virtual generated column).
    bool firstColumnIsComputed();

    QSqlDatabase m_database;
    int m_progressSteps = 0;
};
