#pragma once

#include <QDialog>

#include <memory>

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
    const std::unique_ptr<Ui::NeutralAboutDialog> ui;
};
