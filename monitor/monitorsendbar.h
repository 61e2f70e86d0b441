#pragma once

#include "monitor/monitorcommand.h"
#include "monitor/sendhistory.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The monitor's send line: text or hex with a line end and an optional CRC,
// the named commands, and the last lines sent (Up/Down). It turns what is
// typed into bytes; sending them is the dialog's.
class MonitorSendBar : public QWidget
{
    Q_OBJECT

public:
    explicit MonitorSendBar(QWidget *parent = nullptr);

    // Sending needs the monitor listening and "允许发送" ticked.
    void setListening(bool listening);
    bool canSend() const;
    void setCommands(const QList<MonitorCommand> &commands);
    QList<MonitorCommand> commands() const { return m_commands; }
    // Why the last send did not go out; empty clears it.
    void showRefusal(const QString &reason);
    QString refusal() const;

    // The choices of mode and line end, with the value as item data.
    static void fillModes(QComboBox *box);
    static void fillLineEnds(QComboBox *box);

signals:
    void sendBytes(const QByteArray &bytes);
    void commandsEdited(const QList<MonitorCommand> &commands);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sendTyped();
    void sendCommand(int index);
    void send(const SendRequest &request);
    void editCommands();
    void updateEnabled();

    QCheckBox *m_ckAllow = nullptr;
    QComboBox *m_cmbMode = nullptr;
    QComboBox *m_cmbLineEnd = nullptr;
    QCheckBox *m_ckCrc = nullptr;
    QLineEdit *m_edSend = nullptr;
    QPushButton *m_bntSend = nullptr;
    QComboBox *m_cmbCommands = nullptr;
    QLabel *m_lbRefusal = nullptr;
    QList<MonitorCommand> m_commands;
    SendHistory m_history;
    bool m_listening = false;
};
