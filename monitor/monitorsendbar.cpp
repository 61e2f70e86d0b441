#include "monitor/monitorsendbar.h"

#include "base/metertext.h"
#include "monitor/monitorcommandsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MonitorSendBar::MonitorSendBar(QWidget *parent)
    : QWidget(parent)
{
    m_edSend = new QLineEdit(this);
    m_edSend->setObjectName(QStringLiteral("monitorSend"));
    m_edSend->setPlaceholderText(tr("要发送的文本或十六进制字节"));
    m_edSend->installEventFilter(this);
    m_bntSend = new QPushButton(tr("发送"), this);
    m_bntSend->setObjectName(QStringLiteral("bntSend"));
    // Enter belongs to the send line, never to a default button of the dialog.
    m_bntSend->setAutoDefault(false);
    m_ckAllow = new QCheckBox(tr("允许发送"), this);
    m_ckAllow->setObjectName(QStringLiteral("ckAllowSend"));
    m_ckAllow->setToolTip(tr("错误的帧可能改变设备的设置"));
    m_cmbMode = new QComboBox(this);
    m_cmbMode->setObjectName(QStringLiteral("cmbSendMode"));
    fillModes(m_cmbMode);
    m_cmbLineEnd = new QComboBox(this);
    m_cmbLineEnd->setObjectName(QStringLiteral("cmbLineEnd"));
    fillLineEnds(m_cmbLineEnd);
    m_ckCrc = new QCheckBox(tr("附加CRC"), this);
    m_ckCrc->setObjectName(QStringLiteral("ckAppendCrc"));
    m_ckCrc->setToolTip(tr("在内容后附加CRC-16/MODBUS,低字节在前"));
    m_cmbCommands = new QComboBox(this);
    m_cmbCommands->setObjectName(QStringLiteral("monitorCommands"));
    m_cmbCommands->setMinimumContentsLength(10);
    m_cmbCommands->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *edit = new QPushButton(tr("编辑命令…"), this);
    edit->setObjectName(QStringLiteral("bntEditCommands"));
    edit->setAutoDefault(false);
    m_lbRefusal = new QLabel(this);
    m_lbRefusal->setObjectName(QStringLiteral("lbSendRefusal"));
    m_lbRefusal->setStyleSheet(QStringLiteral("color: #b00020"));
    // A long reason is cut, not a reason for the dialog to grow; the tip has it all.
    m_lbRefusal->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *line = new QHBoxLayout;
    line->addWidget(m_edSend, 1);
    line->addWidget(m_bntSend);
    auto *options = new QHBoxLayout;
    options->addWidget(m_ckAllow);
    options->addWidget(m_cmbMode);
    options->addWidget(m_cmbLineEnd);
    options->addWidget(m_ckCrc);
    options->addSpacing(20);
    options->addWidget(m_cmbCommands);
    options->addWidget(edit);
    options->addSpacing(10);
    options->addWidget(m_lbRefusal, 1);
    layout->addLayout(line);
    layout->addLayout(options);

    connect(m_bntSend, &QPushButton::clicked, this, &MonitorSendBar::sendTyped);
    connect(m_ckAllow, &QCheckBox::toggled, this, &MonitorSendBar::updateEnabled);
    connect(m_cmbCommands, QOverload<int>::of(&QComboBox::activated), this, &MonitorSendBar::sendCommand);
    connect(edit, &QPushButton::clicked, this, &MonitorSendBar::editCommands);
    connect(m_edSend, &QLineEdit::textEdited, this, [this] { showRefusal({}); });
    setCommands({});
    updateEnabled();
}

void MonitorSendBar::fillModes(QComboBox *box)
{
    box->addItem(tr("文本"), int(SendMode::Text));
    box->addItem(tr("十六进制"), int(SendMode::Hex));
}

void MonitorSendBar::fillLineEnds(QComboBox *box)
{
    box->addItem(tr("无"), int(SendLineEnd::None));
    box->addItem(QStringLiteral("CR"), int(SendLineEnd::Cr));
    box->addItem(QStringLiteral("LF"), int(SendLineEnd::Lf));
    box->addItem(QStringLiteral("CR+LF"), int(SendLineEnd::CrLf));
}

void MonitorSendBar::setListening(bool listening)
{
    m_listening = listening;
    updateEnabled();
}

bool MonitorSendBar::canSend() const
{
    return m_listening && m_ckAllow->isChecked();
}

void MonitorSendBar::setCommands(const QList<MonitorCommand> &commands)
{
    m_commands = commands;
    m_cmbCommands->clear();
    m_cmbCommands->addItem(tr("发送命令…"));
    for (const MonitorCommand &command : commands) {
        m_cmbCommands->addItem(escapedControlCharacters(command.name));
        m_cmbCommands->setItemData(m_cmbCommands->count() - 1, escapedControlCharacters(command.text), Qt::ToolTipRole);
    }
}

void MonitorSendBar::showRefusal(const QString &reason)
{
    m_lbRefusal->setText(reason);
    m_lbRefusal->setToolTip(reason);
}

QString MonitorSendBar::refusal() const
{
    return m_lbRefusal->text();
}

bool MonitorSendBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edSend || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (canSend())
            sendTyped();
        return true; // never the dialog's default button
    case Qt::Key_Up:
        m_edSend->setText(m_history.older(m_edSend->text()));
        return true;
    case Qt::Key_Down:
        m_edSend->setText(m_history.newer(m_edSend->text()));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void MonitorSendBar::sendTyped()
{
    SendRequest request;
    request.mode = SendMode(m_cmbMode->currentData().toInt());
    request.lineEnd = SendLineEnd(m_cmbLineEnd->currentData().toInt());
    request.appendCrc = m_ckCrc->isChecked();
    request.text = m_edSend->text();
    m_history.add(request.text);
    send(request);
}

void MonitorSendBar::sendCommand(int index)
{
    m_cmbCommands->setCurrentIndex(0);
    if (index < 1 || index > m_commands.size() || !canSend())
        return;
    send(m_commands.at(index - 1).request());
}

void MonitorSendBar::send(const SendRequest &request)
{
    const SendPayload payload = buildSendPayload(request);
    showRefusal(payload.error);
    if (payload.error.isEmpty())
        emit sendBytes(payload.bytes);
}

void MonitorSendBar::editCommands()
{
    MonitorCommandsDialog editor(m_commands, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    setCommands(editor.commands());
    emit commandsEdited(m_commands);
}

void MonitorSendBar::updateEnabled()
{
    m_bntSend->setEnabled(canSend());
    m_cmbCommands->setEnabled(canSend());
}
