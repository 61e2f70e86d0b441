#include "about/neutralaboutdialog.h"

NeutralAboutDialog::NeutralAboutDialog(QWidget *parent)
    : QDialog(parent)
{
}
