#include "firmware/updatedialog.h"

UpdateDialog::UpdateDialog(QWidget *parent)
    : QDialog(parent)
{
}
