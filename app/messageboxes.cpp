#include "app/messageboxes.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>

namespace {

// A box created after a language switch still receives the switch's
// LanguageChange once shown; its button box would then reset the standard
// button to the toolkit's own "OK". The box lives only while modal, so the
// language cannot change under it: keep the text we set.
class KeepButtonTexts : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::LanguageChange || QObject::eventFilter(watched, event);
    }
};

} // namespace

void setOkButtonText(QMessageBox &box, const QString &text)
{
    if (auto *buttons = box.findChild<QDialogButtonBox *>())
        buttons->installEventFilter(new KeepButtonTexts(&box));
    box.button(QMessageBox::Ok)->setText(text);
}

void showOkBox(QMessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setOkButtonText(box, QObject::tr("确定"));
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
