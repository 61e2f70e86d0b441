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
