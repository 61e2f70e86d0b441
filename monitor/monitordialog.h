#pragma once

#include "monitor/heldlines.h"
#include "monitor/monitorline.h"
#include "monitor/monitorrecorder.h"
#include "monitor/monitorsettings.h"
#include "monitor/monitorthread.h"

#include <QDateTime>
#include <QDialog>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class MonitorSendBar;

namespace Ui {
class MonitorDialog;
}

// Shows the lines the instrument sends, as text, hex or both; records them
// to a file, pauses the view, finds text in it and keeps the last
// monitor/max_lines lines.
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
    const MonitorRecorder &recorder() const { return m_recorder; }
    bool isPaused() const { return m_paused; }
    int heldLineCount() const { return m_held.count(); }
    MonitorSendBar *sendBar() const { return m_sendBar; }

public slots:
    void slotClearText();
    void slotShowError(const QString &title, const QString &error);
    void slotDataRecv(const QByteArray &buffer);
    void slotThreadStarted();
    void slotThreadFinished();

private:
    void buildTerminalRow();
    void buildFindBar();
    void buildLinkRow();
    void buildSendBar();
    void startMonitor();
    void appendText(const QString &text, const QTextCharFormat &format = QTextCharFormat());
    // A line of the monitor's own, in the view and the recording.
    void appendNote(const QString &text, const QColor &colour);
    void showLinkState(const QString &text, bool lost);
    void linkLost();
    void linkBack();
    void sendBytes(const QByteArray &bytes);
    void showSent(const QByteArray &bytes);
    void updatePauseSplit();
    void closeBatch();

    void chooseRecordFile();
    void showRecordFile(const QString &fileName);
    void setRecording(bool on);
    void startRecording();
    // Ends a recording and says where it went.
    void stopRecording();
    void recordingFailed();
    void flushRecording();
    void setPaused(bool paused);
    void updatePauseText();
    void copyAll();
    void showFindBar();
    void findAgain(QTextDocument::FindFlags flags);
    void updateMatchCount();
    void storeSettings();

    const std::unique_ptr<Ui::MonitorDialog> ui;
    MonitorThread m_thread;
    std::function<QDateTime()> m_clock;
    MonitorSettings m_settings;
    MonitorRecorder m_recorder;
    HeldLines m_held;
    QString m_recordFile; // chosen by the user; empty: a fresh default name each time
    QTimer m_flushTimer;
    bool m_paused = false;
    bool m_linkLost = false;
    std::optional<MonitorMode> m_sentMode; // the view when the line waiting for confirmation was sent

    QPlainTextEdit *m_view = nullptr;
    QCheckBox *m_ckRecord = nullptr;
    QComboBox *m_cmbRecordContent = nullptr;
    QLineEdit *m_edRecordFile = nullptr;
    QPushButton *m_bntRecordFile = nullptr;
    QCheckBox *m_ckTimestamps = nullptr;
    QPushButton *m_bntPause = nullptr;
    QWidget *m_findBar = nullptr;
    QLineEdit *m_edFind = nullptr;
    QLabel *m_lbMatches = nullptr;
    QLabel *m_lbState = nullptr;
    QCheckBox *m_ckHexPause = nullptr;
    QSpinBox *m_spHexPauseMs = nullptr;
    MonitorSendBar *m_sendBar = nullptr;

    // Lines of one event-loop turn go in under one edit block: one layout
    // pass and one scroll per turn instead of per line.
    QTextCursor m_appendCursor;
    bool m_batchOpen = false;
    bool m_followEnd = true;
};
