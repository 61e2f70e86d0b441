#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers modal message boxes from a timer so GUI flows run headless, and
// records what each box showed.
class ModalBoxCatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QString okText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString informativeText;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // what Enter presses
        bool selectable = false; // the text can be selected and copied
    };

    explicit ModalBoxCatcher(QObject *parent = nullptr);

    QList<Box> boxes() const { return m_boxes; }
    QStringList texts() const;
    // Button role pressed on the boxes; Ok/Yes by default.
    void setAnswer(QMessageBox::StandardButton button) { m_answer = button; }

private:
    void poll();

    QTimer m_timer;
    QList<Box> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
};
