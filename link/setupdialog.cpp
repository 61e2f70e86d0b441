#include "link/setupdialog.h"

SetupDialog::SetupDialog(QWidget *parent)
    : QDialog(parent)
{
}
