#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The file dialogs of the program: they start in the folder last used for the
// kind of file (see filenames.h), suggest a name, add the suffix the user left
// out and remember the folder chosen. An empty result means cancelled.
QString askSaveFileName(QWidget *parent, const QString &caption, const char *kind, const QString &suggestedName,
    const QString &filter, const QString &suffix);
QString askOpenFileName(QWidget *parent, const QString &caption, const char *kind, const QString &filter);
// The same dialogs starting at a fixed place, without a folder kept per kind:
// a file to open in a folder, a folder, and a file that is appended to (no
// question about replacing it).
QString askOpenFileNameIn(QWidget *parent, const QString &caption, const QString &folder, const QString &filter);
QString askFolderIn(QWidget *parent, const QString &caption, const QString &folder);
QString askAppendFileName(QWidget *parent, const QString &caption, const QString &proposed, const QString &filter);

// Tests answer the next dialogs with these names (an empty one cancels)
// instead of showing them. The dialog each would show is recorded: its
// caption and its proposed path.
void setNextFileNames(const QStringList &names);
struct AskedFile
{
    QString caption;
    QString proposed;
};
QList<AskedFile> askedFiles();
