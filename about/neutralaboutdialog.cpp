#include "about/neutralaboutdialog.h"

#include "about/aboutdialogsetup.h"
#include "ui_neutralaboutdialog.h"

NeutralAboutDialog::NeutralAboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::NeutralAboutDialog>())
{
    ui->setupUi(this);
    finishAboutDialog(this, ui->labelVersion);
    connect(ui->bntOK, &QPushButton::clicked, this, &QDialog::accept);
}

NeutralAboutDialog::~NeutralAboutDialog() = default;

QString NeutralAboutDialog::versionText() const
{
    return ui->labelVersion->text();
}
