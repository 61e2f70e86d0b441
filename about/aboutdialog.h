#pragma once

#include <QDialog>

namespace Ui {
class AboutDialog;
}

// Branded About box with a picture and contact lines; no action opens it.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    QString versionText() const;

private:
    Ui::AboutDialog *ui;
};
