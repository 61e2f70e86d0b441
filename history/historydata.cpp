#include "history/historydata.h"

HistoryData::HistoryData(QWidget *parent)
    : QDialog(parent)
{
}
