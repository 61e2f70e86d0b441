#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Modal boxes whose OK text follows the interface language.
void showOkBox(QMessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent);
void showCriticalBox(const QString &text, QWidget *parent);
void showInformationBox(const QString &text, QWidget *parent);
