#include "tests/support/modalboxcatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

ModalBoxCatcher::ModalBoxCatcher(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalBoxCatcher::poll);
    m_timer.start();
}

QStringList ModalBoxCatcher::texts() const
{
    QStringList result;
    for (const Box &box : m_boxes)
        result << box.text;
    return result;
}

void ModalBoxCatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    Box seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.informativeText = box->informativeText();
    seen.selectable = box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
    seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    QAbstractButton *button = box->button(m_answer);
    if (!button)
        button = box->button(QMessageBox::Ok);
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        seen.okText = button->text();
    m_boxes << seen;
    if (button)
        button->click();
    else
        box->close();
}
