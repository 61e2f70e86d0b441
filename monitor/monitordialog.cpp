#include "monitor/monitordialog.h"

MonitorDialog::MonitorDialog(QWidget *parent)
    : QDialog(parent)
{
}
