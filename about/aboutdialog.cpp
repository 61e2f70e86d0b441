#include "about/aboutdialog.h"

#include "about/aboutdialogsetup.h"
#include "ui_aboutdialog.h"

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    finishAboutDialog(this, ui->labelVersion);
    ui->labUrl->setOpenExternalLinks(true);
}

AboutDialog::~AboutDialog() = default;

QString AboutDialog::versionText() const
{
    return ui->labelVersion->text();
}
