#include "base/folderopener.h"

#include "base/messageboxes.h"

#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace {

QList<bool> &nextOpenings()
{
    static QList<bool> results;
    return results;
}

QStringList &opened()
{
    static QStringList folders;
    return folders;
}

bool askDesktop(const QString &folder)
{
    if (!nextOpenings().isEmpty()) {
        opened().append(folder);
        return nextOpenings().takeFirst();
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace

void openFolder(const QString &folder, QWidget *parent)
{
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (askDesktop(shown))
        return;
    const QString title = parent ? parent->windowTitle() : QObject::tr("打开文件夹");
    QMessageBox box(QMessageBox::Information, title,
        QObject::tr("没有可打开文件夹的文件管理器。文件夹位于:\n%1").arg(shown), QMessageBox::Ok, parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    // The user copies the path to go there by hand.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setOkButtonText(box, QObject::tr("确定"));
    box.exec();
}

void setNextFolderOpenings(const QList<bool> &results)
{
    nextOpenings() = results;
    opened().clear();
}

QStringList openedFolders()
{
    return opened();
}
