#pragma once

#include <QDialog>

class HistoryData : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryData(QWidget *parent = nullptr);
};
