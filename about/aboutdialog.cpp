#include "about/aboutdialog.h"

#include "app/resourcesinit.h"
#include "app/settings.h"
#include "ui_aboutdialog.h"

#include <QIcon>

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::AboutDialog)
{
    vexaInitResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/image/about.png")));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(size());
    ui->labelVersion->setText(applicationTitle());
    ui->labUrl->setOpenExternalLinks(true);
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

QString AboutDialog::versionText() const
{
    return ui->labelVersion->text();
}
