#pragma once

#include "monitor/monitorcommand.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// Edits the named commands of the send line: add, change, remove, and
// import or export them as a command file.
class MonitorCommandsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MonitorCommandsDialog(const QList<MonitorCommand> &commands, QWidget *parent = nullptr);

    QList<MonitorCommand> commands() const { return m_commands; }

private:
    void showList();
    void showCommand(int row);
    // The command in the fields, or false with the reason shown.
    bool editedCommand(MonitorCommand *command);
    void addCommand();
    void changeCommand();
    void removeCommand();
    void importCommands();
    void exportCommands();

    QList<MonitorCommand> m_commands;
    QListWidget *m_list = nullptr;
    QLineEdit *m_edName = nullptr;
    QComboBox *m_cmbMode = nullptr;
    QComboBox *m_cmbLineEnd = nullptr;
    QLineEdit *m_edText = nullptr;
    QLabel *m_lbError = nullptr;
};
