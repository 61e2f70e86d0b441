#pragma once

#include <QDialog>

class NeutralAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NeutralAboutDialog(QWidget *parent = nullptr);
};
