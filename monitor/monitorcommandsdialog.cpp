#include "monitor/monitorcommandsdialog.h"

#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/metertext.h"
#include "base/savedfilenotice.h"
#include "monitor/monitorsendbar.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

MonitorCommandsDialog::MonitorCommandsDialog(const QList<MonitorCommand> &commands, QWidget *parent)
    : QDialog(parent)
    , m_commands(commands)
{
    setWindowTitle(tr("编辑命令"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstCommands"));
    m_edName = new QLineEdit(this);
    m_edName->setObjectName(QStringLiteral("edCommandName"));
    m_cmbMode = new QComboBox(this);
    m_cmbMode->setObjectName(QStringLiteral("cmbCommandMode"));
    MonitorSendBar::fillModes(m_cmbMode);
    m_cmbLineEnd = new QComboBox(this);
    m_cmbLineEnd->setObjectName(QStringLiteral("cmbCommandLineEnd"));
    MonitorSendBar::fillLineEnds(m_cmbLineEnd);
    m_edText = new QLineEdit(this);
    m_edText->setObjectName(QStringLiteral("edCommandText"));
    m_lbError = new QLabel(this);
    m_lbError->setObjectName(QStringLiteral("lbCommandError"));
    m_lbError->setStyleSheet(QStringLiteral("color: #b00020"));
    m_lbError->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(tr("名称"), m_edName);
    form->addRow(tr("模式"), m_cmbMode);
    form->addRow(tr("行尾"), m_cmbLineEnd);
    form->addRow(tr("内容"), m_edText);
    auto *edits = new QHBoxLayout;
    auto *add = button(tr("添加"), "bntAddCommand", this);
    auto *change = button(tr("修改"), "bntChangeCommand", this);
    auto *remove = button(tr("删除"), "bntRemoveCommand", this);
    edits->addWidget(add);
    edits->addWidget(change);
    edits->addWidget(remove);
    edits->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(edits);
    right->addWidget(m_lbError);
    right->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(right, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    auto *import = button(tr("导入…"), "bntImportCommands", this);
    auto *exportButton = button(tr("导出…"), "bntExportCommands", this);
    buttons->addButton(import, QDialogButtonBox::ActionRole);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, &MonitorCommandsDialog::showCommand);
    connect(add, &QPushButton::clicked, this, &MonitorCommandsDialog::addCommand);
    connect(change, &QPushButton::clicked, this, &MonitorCommandsDialog::changeCommand);
    connect(remove, &QPushButton::clicked, this, &MonitorCommandsDialog::removeCommand);
    connect(import, &QPushButton::clicked, this, &MonitorCommandsDialog::importCommands);
    connect(exportButton, &QPushButton::clicked, this, &MonitorCommandsDialog::exportCommands);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showList();
    resize(640, 320);
}

void MonitorCommandsDialog::showList()
{
    const int row = m_list->currentRow();
    m_list->clear();
    // Control characters as escapes: a list row stays one readable line.
    for (const MonitorCommand &command : qAsConst(m_commands))
        m_list->addItem(
            escapedControlCharacters(command.name) + QStringLiteral("  —  ") + escapedControlCharacters(command.text));
    m_list->setCurrentRow(qMin(row, m_commands.size() - 1));
}

void MonitorCommandsDialog::showCommand(int row)
{
    if (row < 0 || row >= m_commands.size())
        return;
    const MonitorCommand &command = m_commands.at(row);
    m_edName->setText(command.name);
    m_cmbMode->setCurrentIndex(m_cmbMode->findData(int(command.mode)));
    m_cmbLineEnd->setCurrentIndex(m_cmbLineEnd->findData(int(command.lineEnd)));
    m_edText->setText(command.text);
    m_lbError->clear();
}

bool MonitorCommandsDialog::editedCommand(MonitorCommand *command)
{
    MonitorCommand edited;
    // A tab would end the name in the stored line.
    edited.name = m_edName->text().replace(QLatin1Char('\t'), QLatin1Char(' '));
    edited.mode = SendMode(m_cmbMode->currentData().toInt());
    edited.lineEnd = SendLineEnd(m_cmbLineEnd->currentData().toInt());
    edited.text = m_edText->text();
    const QString error = MonitorCommand::fromLine(edited.toLine(), command);
    m_lbError->setText(error);
    return error.isEmpty();
}

void MonitorCommandsDialog::addCommand()
{
    MonitorCommand command;
    if (m_commands.size() >= kMaxMonitorCommands) {
        m_lbError->setText(tr("命令超过%1条").arg(kMaxMonitorCommands));
        return;
    }
    if (!editedCommand(&command))
        return;
    m_commands.append(command);
    showList();
    m_list->setCurrentRow(m_commands.size() - 1);
}

void MonitorCommandsDialog::changeCommand()
{
    const int row = m_list->currentRow();
    MonitorCommand command;
    if (row < 0 || row >= m_commands.size() || !editedCommand(&command))
        return;
    m_commands[row] = command;
    showList();
}

void MonitorCommandsDialog::removeCommand()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_commands.size())
        return;
    m_commands.removeAt(row);
    showList();
}

void MonitorCommandsDialog::importCommands()
{
    const QString fileName
        = askOpenFileName(this, tr("导入命令"), kMonitorCommandFiles, tr("命令文件 (*.txt);;所有文件 (*)"));
    if (fileName.isEmpty())
        return;
    QList<MonitorCommand> imported;
    const QString error = readCommandFile(fileName, &imported);
    if (!error.isEmpty()) {
        m_lbError->setText(error);
        return;
    }
    // Added to the list, as far as it takes them.
    const int room = kMaxMonitorCommands - m_commands.size();
    m_commands += imported.mid(0, qMax(0, room));
    m_lbError->setText(imported.size() > room ? tr("命令超过%1条").arg(kMaxMonitorCommands) : QString());
    showList();
}

void MonitorCommandsDialog::exportCommands()
{
    const QString fileName = askSaveFileName(this, tr("导出命令"), kMonitorCommandFiles, QStringLiteral("commands.txt"),
        tr("命令文件 (*.txt);;所有文件 (*)"), QStringLiteral("txt"));
    if (fileName.isEmpty())
        return;
    const QString error = writeCommandFile(fileName, m_commands);
    m_lbError->setText(error);
    if (error.isEmpty())
        SavedFileNotice::announce(fileName);
}
