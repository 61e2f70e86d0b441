#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// Writing firmware packages in the layout DDbServer reads. Used by the
// vexa-pack tool, the simulator's demo and the tests.

// The content bytes: the map as QDataStream writes it (repeated keys kept).
QByteArray serializePackageMap(const QMap<QString, QVariant> &map);

// The row text: content and digest as two byte arrays, Base64 encoded.
QByteArray encodePackageText(const QByteArray &content, const QByteArray &digest);

// The four-key content map; texts as QString values, the image as bytes.
QMap<QString, QVariant> packageMap(
    const QString &device, const QString &version, const QString &model, const QByteArray &image);

// Creates the SQLite file at path (replacing an existing file) with a table
// INFO holding one row whose only column is text. Empty on success,
// otherwise a message.
QString writePackageDatabase(const QString &path, const QByteArray &text);

// The whole package. Empty on success, otherwise a message.
QString writePackageFile(
    const QString &path, const QString &device, const QString &version, const QString &model, const QByteArray &image);
