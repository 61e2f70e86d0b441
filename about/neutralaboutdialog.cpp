#include "about/neutralaboutdialog.h"

#include "app/resourcesinit.h"
#include "app/settings.h"
#include "ui_neutralaboutdialog.h"

#include <QIcon>

NeutralAboutDialog::NeutralAboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::NeutralAboutDialog)
{
    vexaInitResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/image/about.png")));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(size());
    ui->labelVersion->setText(applicationTitle());
    connect(ui->bntOK, &QPushButton::clicked, this, &QDialog::accept);
}

NeutralAboutDialog::~NeutralAboutDialog()
{
    delete ui;
}

QString NeutralAboutDialog::versionText() const
{
    return ui->labelVersion->text();
}
