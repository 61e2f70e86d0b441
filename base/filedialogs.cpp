#include "base/filedialogs.h"

#include "base/filenames.h"

#include <QDir>
#include <QFileDialog>

namespace {

QStringList &nextNames()
{
    static QStringList names;
    return names;
}

QList<AskedFile> &asked()
{
    static QList<AskedFile> files;
    return files;
}

// A queued answer, if a test gave one.
bool takeNextName(const QString &caption, const QString &proposed, QString *name)
{
    if (nextNames().isEmpty())
        return false;
    asked().append({ caption, proposed });
    *name = nextNames().takeFirst();
    return true;
}

} // namespace

QString askSaveFileName(QWidget *parent, const QString &caption, const char *kind, const QString &suggestedName,
    const QString &filter, const QString &suffix)
{
    const QString folder = lastFolder(kind);
    const QString proposed = folder.isEmpty() ? suggestedName : QDir(folder).filePath(suggestedName);
    QString path;
    if (!takeNextName(caption, proposed, &path)) {
        QFileDialog dialog(parent, caption, proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The dialog adds it itself, so its overwrite question names the real file.
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    path = withSuffix(path, suffix);
    rememberFolder(kind, path);
    return path;
}

QString askOpenFileName(QWidget *parent, const QString &caption, const char *kind, const QString &filter)
{
    const QString folder = lastFolder(kind);
    QString path;
    if (!takeNextName(caption, folder, &path))
        path = QFileDialog::getOpenFileName(parent, caption, folder, filter);
    rememberFolder(kind, path);
    return path;
}

QString askOpenFileNameIn(QWidget *parent, const QString &caption, const QString &folder, const QString &filter)
{
    QString path;
    if (!takeNextName(caption, folder, &path))
        path = QFileDialog::getOpenFileName(parent, caption, folder, filter);
    return path;
}

QString askFolderIn(QWidget *parent, const QString &caption, const QString &folder)
{
    QString path;
    if (!takeNextName(caption, folder, &path))
        path = QFileDialog::getExistingDirectory(parent, caption, folder);
    return path;
}

QString askAppendFileName(QWidget *parent, const QString &caption, const QString &proposed, const QString &filter)
{
    QString path;
    if (!takeNextName(caption, proposed, &path))
        path = QFileDialog::getSaveFileName(
            parent, caption, proposed, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    return path;
}

void setNextFileNames(const QStringList &names)
{
    nextNames() = names;
    asked().clear();
}

QList<AskedFile> askedFiles()
{
    return asked();
}
