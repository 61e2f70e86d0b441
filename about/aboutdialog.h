#pragma once

#include <QDialog>

#include <memory>

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
    const std::unique_ptr<Ui::AboutDialog> ui;
};
