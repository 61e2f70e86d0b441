#pragma once

#include "base/outputfile.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// The display texts of one tree row and the item index it carries.
struct ItemRowText
{
    int index = 0;
    QString column0; // "05. name"
    QString column1; // ": value", or empty for a command item
};

// One item as the tree receives it: index and fields (name[, value]).
struct ItemRecord
{
    int index = 0;
    QStringList fields;
};

Q_DECLARE_METATYPE(ItemRecord)

// The item name in a row's column 0 text: row number and point removed, trimmed.
QString itemRowName(const QString &column0);

// The texts of tree row number rowNumber (counted from 1) for an item.
ItemRowText itemRowText(int rowNumber, const ItemRecord &record);

// Whether the row's shown number, name or value contains the text, in any
// letter case: "7" and "07" both find row 07.
bool itemRowContains(const ItemRowText &row, const QString &text);

// Highest item index a file may name: 255 is the debug switch, not an item.
constexpr int kMaxImportedItemIndex = 254;

// "05. name, value" (no line end); the value part keeps its leading blank.
QString itemCsvLine(const ItemRowText &row);

// The line as a file gets it: control characters (line breaks too) dropped,
// so every row stays one line.
QString itemFileLine(const ItemRowText &row);

// The file's bytes: a UTF-8 byte order mark and one line per row.
QByteArray itemFileBytes(const QVector<ItemRowText> &rows);

// Writes the rows with a UTF-8 byte order mark; empty on success, otherwise
// the message for the user (with the reason as a second line). Only a
// regular file is written (OutputFile).
QString exportItems(const QString &path, const QVector<ItemRowText> &rows,
    OutputFile::Mode mode = OutputFile::Mode::Replace, OutputFile::Name name = OutputFile::Name::Chosen);

// Rows that the file cannot carry back unchanged, as "index. name" texts:
// the last comma of a line separates name from value, so a value with a comma
// comes back split, and control characters (line breaks too) are dropped.
QStringList itemsLostOnImport(const QVector<ItemRowText> &rows);
// Whether an import of the row's file line gives back what the tree holds.
bool itemLineComesBack(const ItemRowText &row);

// Items 0 and 1 name the meter and are never written: an import drops their
// values. A comparison keeps them.
enum class IdentificationValues { Drop, Keep };

// Understands one line; false when it does not have the item line shape or
// names an index above kMaxImportedItemIndex.
bool parseItemLine(
    const QString &line, ItemRecord *record, IdentificationValues identification = IdentificationValues::Drop);

struct ItemImport
{
    QVector<ItemRecord> records;
    bool opened = false;
    QString error; // empty on success
};

// Reads a whole file; on any error no records are returned. Each index may
// appear once; the error then names the line ("文件解析错误" and the line).
ItemImport importItems(const QString &path, IdentificationValues identification = IdentificationValues::Drop);
