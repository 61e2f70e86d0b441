#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ui {
class ModifyDialog;
}
class QComboBox;
class QLineEdit;
class QWidget;

// Edits one item value: a drop-down when the name ends in an option list such
// as (9600/19200), a free text field otherwise.
class ModifyDialog : public QDialog
{
    Q_OBJECT

public:
    ModifyDialog(const QString &name, const QString &value, QWidget *parent = nullptr);
    ~ModifyDialog() override;

    void setItem(const QString &name, const QString &value);
    QString value() const;

    // Splits "label(a/b/c)" into the label and the choices; false when the
    // name carries no list of at least two choices.
    static bool parseOptionList(const QString &name, QString *label, QStringList *choices);
    // The choice to preselect for a value: an equal choice wins, else the last
    // choice contained in the value; empty when none fits.
    static QString chooseOption(const QStringList &choices, const QString &value);

private:
    void styleEditor(QWidget *editor);

    const std::unique_ptr<Ui::ModifyDialog> ui;
    QLineEdit *m_lineEdit = nullptr;
    QComboBox *m_comboBox = nullptr;
};
