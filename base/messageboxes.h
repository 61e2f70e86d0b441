#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Modal boxes whose OK text follows the interface language.
// Sets the OK button's text so that it stays in the current language.
void setOkButtonText(QMessageBox &box, const QString &text);
void showOkBox(QMessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent);
void showCriticalBox(const QString &text, QWidget *parent);
void showInformationBox(const QString &text, QWidget *parent);

// A question titled like its parent; true when the first button (yesText)
// was chosen. Tests answer with setNextAnswers instead of showing it; the
// questions so answered are kept for them.
bool askQuestion(const QString &text, const QString &yesText, const QString &noText, QWidget *parent);
void setNextAnswers(const QList<bool> &answers);
QStringList askedQuestions();
