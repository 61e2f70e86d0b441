#pragma once

#include "monitor/monitorline.h"
#include "monitor/monitorthread.h"

#include <QDateTime>
#include <QDialog>
#include <QTextCursor>

#include <functional>

namespace Ui {
class MonitorDialog;
}

// Shows the lines the instrument sends, as text, hex or both.
class MonitorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MonitorDialog(QWidget *parent = nullptr);
    ~MonitorDialog() override;

    // The mode of the checked radio button.
    MonitorMode mode() const;
    // Source of the time stamps (the local clock unless replaced).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    MonitorThread &monitorThread() { return m_thread; }

public slots:
    void slotClearText();
    void slotShowError(const QString &title, const QString &error);
    void slotDataRecv(const QByteArray &buffer);
    void slotThreadStarted();
    void slotThreadFinished();

private:
    void startMonitor();
    void appendText(const QString &text);
    void closeBatch();

    Ui::MonitorDialog *ui;
    MonitorThread m_thread;
    std::function<QDateTime()> m_clock;
    // Lines of one event-loop turn go in under one edit block: one layout
    // pass and one scroll per turn instead of per line.
    QTextCursor m_appendCursor;
    bool m_batchOpen = false;
    bool m_followEnd = true;
};
