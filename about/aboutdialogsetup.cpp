#include "about/aboutdialogsetup.h"

#include "base/settings.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>

void finishAboutDialog(QDialog *dialog, QLabel *versionLabel)
{
    dialog->setWindowIcon(QIcon(QStringLiteral(":/image/about.png")));
    dialog->setWindowFlags(dialog->windowFlags() & ~Qt::WindowContextHelpButtonHint);
    dialog->setFixedSize(dialog->size());
    versionLabel->setText(applicationTitle());
}
