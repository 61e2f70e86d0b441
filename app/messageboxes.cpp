#include "app/messageboxes.h"

#include <QCoreApplication>
#include <QPushButton>

void showOkBox(QMessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Ok)->setText(QObject::tr("确定"));
    box.exec();
}

void showCriticalBox(const QString &text, QWidget *parent)
{
    const QString title = parent ? parent->windowTitle() : QObject::tr("错误");
    showOkBox(QMessageBox::Critical, title, text, parent);
}

void showInformationBox(const QString &text, QWidget *parent)
{
    const QString title = parent ? parent->windowTitle() : QObject::tr("信息");
    showOkBox(QMessageBox::Information, title, text, parent);
}
