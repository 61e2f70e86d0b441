#include "base/messageboxes.h"

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

namespace {

QList<bool> &nextAnswers()
{
    static QList<bool> answers;
    return answers;
}

QStringList &asked()
{
    static QStringList questions;
    return questions;
}

} // namespace

bool askQuestion(const QString &text, const QString &yesText, const QString &noText, QWidget *parent)
{
    if (!nextAnswers().isEmpty()) {
        asked().append(text);
        return nextAnswers().takeFirst();
    }
    const QString title = parent ? parent->windowTitle() : QObject::tr("信息");
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    QPushButton *yes = box.addButton(yesText, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(noText, QMessageBox::RejectRole);
    // Enter alone must not start what cannot be undone.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void setNextAnswers(const QList<bool> &answers)
{
    nextAnswers() = answers;
    asked().clear();
}

QStringList askedQuestions()
{
    return asked();
}

void showInformationBox(const QString &text, QWidget *parent)
{
    const QString title = parent ? parent->windowTitle() : QObject::tr("信息");
    showOkBox(QMessageBox::Information, title, text, parent);
}
