#pragma once

#include <QDialog>

namespace Ui {
class NeutralAboutDialog;
}

// About box without maker branding: application name and version only.
class NeutralAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NeutralAboutDialog(QWidget *parent = nullptr);
    ~NeutralAboutDialog() override;

    QString versionText() const;

private:
    Ui::NeutralAboutDialog *ui;
};
