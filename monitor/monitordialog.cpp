#include "monitor/monitordialog.h"

#include "base/filedialogs.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "monitor/monitorsendbar.h"
#include "ui_monitordialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>

namespace {
// How often a recording is flushed when lines stop coming.
constexpr int kFlushTickMs = 500;
// Sent lines and markers stand out from what the meter sent.
const QColor kSentColour(0x1f, 0x5f, 0xbf);
const QColor kMarkerColour(0xb0, 0x00, 0x20);
} // namespace

MonitorDialog::MonitorDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::MonitorDialog>())
    , m_clock([] { return QDateTime::currentDateTime(); })
    , m_settings(readMonitorSettings(*appSettings()))
    , m_held(m_settings.maxLines)
{
    ui->setupUi(this);
    setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/monitor.png")));
    m_view = ui->textEdit;
    buildTerminalRow();
    buildLinkRow();
    buildSendBar();
    buildFindBar();

    connect(ui->bntStop, &QPushButton::pressed, &m_thread, &MonitorThread::stop);
    connect(ui->bntClear, &QPushButton::pressed, this, &MonitorDialog::slotClearText);
    connect(ui->bntStart, &QPushButton::pressed, this, &MonitorDialog::startMonitor);
    connect(&m_thread, &QThread::started, this, &MonitorDialog::slotThreadStarted);
    connect(&m_thread, &QThread::finished, this, &MonitorDialog::slotThreadFinished);
    connect(&m_thread, &MonitorThread::signalFailed, this,
        [this](const QString &title, const LinkFailure &failure) { slotShowError(title, failure.text()); });
    connect(&m_thread, &MonitorThread::signalDataRecv, this, &MonitorDialog::slotDataRecv);
    connect(&m_thread, &MonitorThread::signalConnected, this, [this] { showLinkState(tr("已连接"), false); });
    connect(&m_thread, &MonitorThread::signalLinkLost, this, &MonitorDialog::linkLost);
    connect(&m_thread, &MonitorThread::signalLinkBack, this, &MonitorDialog::linkBack);
    connect(&m_thread, &MonitorThread::signalSent, this, &MonitorDialog::showSent);
    connect(&m_thread, &MonitorThread::signalSendRefused, m_sendBar, &MonitorSendBar::showRefusal);
    connect(&m_flushTimer, &QTimer::timeout, this, &MonitorDialog::flushRecording);
    m_flushTimer.setInterval(kFlushTickMs);

    // Hours of monitoring must not pile up undo steps; the view keeps the
    // last lines only (one more block: the empty one after the last line end).
    m_view->setUndoRedoEnabled(false);
    m_view->setReadOnly(true);
    m_view->setMaximumBlockCount(m_settings.maxLines + 1);
    ui->bntStop->setEnabled(false);
    ui->rdOriginal->setChecked(true);
    ui->ckDebug->setChecked(true);
}

MonitorDialog::~MonitorDialog()
{
    m_thread.stop();
    stopRecording();
    closeBatch();
    m_appendCursor = QTextCursor();
}

void MonitorDialog::buildTerminalRow()
{
    auto *row = new QHBoxLayout;
    m_ckRecord = new QCheckBox(tr("记录到文件"), this);
    m_ckRecord->setObjectName(QStringLiteral("ckRecord"));
    m_cmbRecordContent = new QComboBox(this);
    m_cmbRecordContent->setObjectName(QStringLiteral("cmbRecordContent"));
    m_cmbRecordContent->addItems({ tr("显示的文本"), tr("原始字节") });
    m_cmbRecordContent->setCurrentIndex(m_settings.recordRaw ? 1 : 0);
    m_edRecordFile = new QLineEdit(this);
    m_edRecordFile->setObjectName(QStringLiteral("edRecordFile"));
    m_edRecordFile->setReadOnly(true);
    showRecordFile(MonitorRecorder::defaultFileName(m_settings.recordFolder, m_clock()));
    m_bntRecordFile = new QPushButton(tr("选择文件…"), this);
    m_bntRecordFile->setObjectName(QStringLiteral("bntRecordFile"));
    m_ckTimestamps = new QCheckBox(tr("时间戳"), this);
    m_ckTimestamps->setObjectName(QStringLiteral("ckTimestamps"));
    m_ckTimestamps->setChecked(m_settings.timestamps);
    m_bntPause = new QPushButton(tr("暂停显示"), this);
    m_bntPause->setObjectName(QStringLiteral("bntPause"));
    m_bntPause->setCheckable(true);
    auto *copyAll = new QPushButton(tr("全部复制"), this);
    copyAll->setObjectName(QStringLiteral("bntCopyAll"));
    row->addWidget(m_ckRecord);
    row->addWidget(m_cmbRecordContent);
    row->addWidget(m_edRecordFile, 1);
    row->addWidget(m_bntRecordFile);
    row->addSpacing(20);
    row->addWidget(m_ckTimestamps);
    row->addWidget(m_bntPause);
    row->addWidget(copyAll);
    ui->verticalLayout->insertLayout(1, row);

    connect(m_ckRecord, &QCheckBox::toggled, this, &MonitorDialog::setRecording);
    connect(m_bntRecordFile, &QPushButton::clicked, this, &MonitorDialog::chooseRecordFile);
    connect(m_cmbRecordContent, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_settings.recordRaw = index == 1;
        m_recorder.setContent(m_settings.recordRaw ? MonitorRecorder::Content::Raw : MonitorRecorder::Content::Shown);
        storeSettings();
    });
    connect(m_ckTimestamps, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.timestamps = on;
        storeSettings();
    });
    // Time stamps are part of the text mode only; the other modes have their prefix.
    connect(ui->rdOriginal, &QRadioButton::toggled, m_ckTimestamps, &QCheckBox::setEnabled);
    connect(m_bntPause, &QPushButton::toggled, this, &MonitorDialog::setPaused);
    connect(copyAll, &QPushButton::clicked, this, &MonitorDialog::copyAll);
}

void MonitorDialog::buildLinkRow()
{
    m_ckHexPause = new QCheckBox(tr("按停顿分行"), this);
    m_ckHexPause->setObjectName(QStringLiteral("ckHexPause"));
    m_ckHexPause->setToolTip(tr("十六进制显示时,线路停顿超过所设毫秒数也开始新的一行"));
    m_ckHexPause->setChecked(m_settings.hexPause);
    m_spHexPauseMs = new QSpinBox(this);
    m_spHexPauseMs->setObjectName(QStringLiteral("spHexPauseMs"));
    m_spHexPauseMs->setRange(1, MonitorSettings::kMaxHexPauseMs);
    m_spHexPauseMs->setSuffix(tr(" 毫秒"));
    m_spHexPauseMs->setValue(m_settings.hexPauseMs);
    m_lbState = new QLabel(tr("未监听"), this);
    m_lbState->setObjectName(QStringLiteral("monitorState"));
    // A row of its own: the top row is full at the dialog's size.
    auto *row = new QHBoxLayout;
    row->addWidget(m_ckHexPause);
    row->addWidget(m_spHexPauseMs);
    row->addStretch();
    row->addWidget(m_lbState);
    ui->verticalLayout->insertLayout(1, row);

    connect(m_ckHexPause, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.hexPause = on;
        storeSettings();
        updatePauseSplit();
    });
    connect(m_spHexPauseMs, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int milliseconds) {
        m_settings.hexPauseMs = milliseconds;
        storeSettings();
        updatePauseSplit();
    });
    connect(ui->rdHex, &QRadioButton::toggled, this, &MonitorDialog::updatePauseSplit);
    updatePauseSplit();
}

void MonitorDialog::buildSendBar()
{
    m_sendBar = new MonitorSendBar(this);
    m_sendBar->setCommands(m_settings.commands);
    ui->verticalLayout->addWidget(m_sendBar);
    connect(m_sendBar, &MonitorSendBar::sendBytes, this, &MonitorDialog::sendBytes);
    connect(m_sendBar, &MonitorSendBar::commandsEdited, this, [this](const QList<MonitorCommand> &commands) {
        m_settings.commands = commands;
        storeSettings();
    });
}

void MonitorDialog::updatePauseSplit()
{
    // Only the hex view cuts at pauses; the box means nothing in the others.
    const bool hex = ui->rdHex->isChecked();
    m_ckHexPause->setEnabled(hex);
    m_spHexPauseMs->setEnabled(hex && m_ckHexPause->isChecked());
    m_thread.setPauseSplit(hex && m_ckHexPause->isChecked() ? m_spHexPauseMs->value() : 0);
}

void MonitorDialog::showLinkState(const QString &text, bool lost)
{
    m_linkLost = lost;
    m_lbState->setText(text);
    m_lbState->setStyleSheet(lost ? QStringLiteral("color: #b00020; font-weight: bold") : QString());
}

void MonitorDialog::linkLost()
{
    showLinkState(tr("连接已断开"), true);
    appendNote(monitorLinkMarker(true, m_clock()), kMarkerColour);
}

void MonitorDialog::linkBack()
{
    showLinkState(tr("已重新连接"), false);
    appendNote(monitorLinkMarker(false, m_clock()), kMarkerColour);
}

void MonitorDialog::sendBytes(const QByteArray &bytes)
{
    if (!m_sendBar->canSend())
        return;
    if (m_linkLost) {
        m_sendBar->showRefusal(tr("未连接，无法发送"));
        return;
    }
    if (!m_thread.send(bytes)) {
        m_sendBar->showRefusal(tr("上一次发送尚未完成"));
        return;
    }
    // The line is shown as it was sent, even if the view changes before the thread confirms it.
    m_sentMode = mode();
}

void MonitorDialog::showSent(const QByteArray &bytes)
{
    MonitorLineFormat format;
    format.mode = m_sentMode.value_or(mode());
    m_sentMode.reset();
    format.clippedNote = tr("…（共 %1 字节）");
    format.timestamps = m_settings.timestamps;
    appendNote(monitorSentLine(bytes, format, m_clock()), kSentColour);
}

void MonitorDialog::appendNote(const QString &text, const QColor &colour)
{
    if (m_recorder.isRecording() && !m_recorder.note(text))
        recordingFailed();
    if (m_paused) {
        m_held.hold(text);
        return;
    }
    QTextCharFormat format;
    format.setForeground(colour);
    appendText(text, format);
}

void MonitorDialog::buildFindBar()
{
    m_findBar = new QWidget(this);
    m_findBar->setObjectName(QStringLiteral("findBar"));
    auto *row = new QHBoxLayout(m_findBar);
    row->setContentsMargins(0, 0, 0, 0);
    m_edFind = new QLineEdit(m_findBar);
    m_edFind->setObjectName(QStringLiteral("edFind"));
    m_edFind->setPlaceholderText(tr("查找"));
    auto *previous = new QPushButton(tr("上一个"), m_findBar);
    previous->setObjectName(QStringLiteral("bntFindPrevious"));
    auto *next = new QPushButton(tr("下一个"), m_findBar);
    next->setObjectName(QStringLiteral("bntFindNext"));
    m_lbMatches = new QLabel(m_findBar);
    m_lbMatches->setObjectName(QStringLiteral("lbMatches"));
    auto *close = new QPushButton(tr("关闭"), m_findBar);
    close->setObjectName(QStringLiteral("bntFindClose"));
    row->addWidget(m_edFind, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(m_lbMatches);
    row->addStretch();
    row->addWidget(close);
    ui->verticalLayout->addWidget(m_findBar);
    m_findBar->hide();

    auto *open = new QShortcut(QKeySequence::Find, this);
    connect(open, &QShortcut::activated, this, &MonitorDialog::showFindBar);
    // Escape in the find bar closes the bar, not the dialog.
    auto *escape
        = new QShortcut(QKeySequence(Qt::Key_Escape), m_findBar, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, m_findBar, &QWidget::hide);
    connect(close, &QPushButton::clicked, m_findBar, &QWidget::hide);
    connect(next, &QPushButton::clicked, this, [this] { findAgain({}); });
    connect(previous, &QPushButton::clicked, this, [this] { findAgain(QTextDocument::FindBackward); });
    connect(m_edFind, &QLineEdit::returnPressed, this, [this] { findAgain({}); });
    connect(m_edFind, &QLineEdit::textChanged, this, [this] {
        updateMatchCount();
        // Search on from where the current match starts.
        QTextCursor cursor = m_view->textCursor();
        cursor.setPosition(cursor.selectionStart());
        m_view->setTextCursor(cursor);
        findAgain({});
    });
}

MonitorMode MonitorDialog::mode() const
{
    if (ui->rdOriginal->isChecked())
        return MonitorMode::Original;
    if (ui->rdHex->isChecked())
        return MonitorMode::Hex;
    return MonitorMode::OriginalHex;
}

void MonitorDialog::slotClearText()
{
    closeBatch();
    m_view->clear();
    m_held.clear();
    updatePauseText();
    updateMatchCount();
}

void MonitorDialog::slotShowError(const QString &title, const QString &error)
{
    QMessageBox box(QMessageBox::Critical, title, error, QMessageBox::NoButton, this);
    box.setWindowIcon(windowIcon());
    box.addButton(tr("确定"), QMessageBox::AcceptRole);
    box.exec();
}

void MonitorDialog::slotDataRecv(const QByteArray &buffer)
{
    if (buffer.isEmpty())
        return;
    const QDateTime now = m_clock();
    MonitorLineFormat format;
    format.mode = mode();
    format.clippedNote = tr("…（共 %1 字节）");
    format.timestamps = m_settings.timestamps;
    const QString shown = formatShownLine(buffer, format, now);
    if (m_recorder.isRecording()) {
        QString recorded = shown;
        // The file keeps all of a long line.
        if (m_recorder.content() == MonitorRecorder::Content::Shown && buffer.size() > format.maxShownBytes) {
            format.maxShownBytes = -1;
            recorded = formatShownLine(buffer, format, now);
        }
        if (!m_recorder.record(buffer, recorded))
            recordingFailed();
    }
    if (m_paused) {
        m_held.hold(shown);
        if (!m_batchOpen) {
            m_batchOpen = true;
            QMetaObject::invokeMethod(this, &MonitorDialog::closeBatch, Qt::QueuedConnection);
        }
        return;
    }
    appendText(shown);
}

void MonitorDialog::slotThreadStarted()
{
    ui->bntStart->setEnabled(false);
    ui->bntStop->setEnabled(true);
    ui->ckDebug->setEnabled(false);
    m_sendBar->setListening(true);
    if (m_ckRecord->isChecked())
        startRecording();
}

void MonitorDialog::slotThreadFinished()
{
    ui->bntStart->setEnabled(true);
    ui->bntStop->setEnabled(false);
    ui->ckDebug->setEnabled(true);
    m_sendBar->setListening(false);
    showLinkState(tr("未监听"), false);
    // Lines still queued from the worker arrive before this; the file is complete.
    stopRecording();
}

void MonitorDialog::startMonitor()
{
    m_thread.setDebug(ui->ckDebug->isChecked());
    m_thread.setLinkSettings(storedLinkSettings());
    m_thread.setReconnect(true);
    m_thread.start();
}

void MonitorDialog::appendText(const QString &text, const QTextCharFormat &format)
{
    // The text is in the document at once; only layout and scrolling wait
    // for the end of this event-loop turn. A cursor of our own leaves the
    // user's selection alone.
    if (!m_batchOpen || m_appendCursor.isNull()) {
        QScrollBar *bar = m_view->verticalScrollBar();
        m_followEnd = bar->value() >= bar->maximum();
        m_appendCursor = QTextCursor(m_view->document());
        m_appendCursor.movePosition(QTextCursor::End);
        m_appendCursor.beginEditBlock();
        if (!m_batchOpen)
            QMetaObject::invokeMethod(this, &MonitorDialog::closeBatch, Qt::QueuedConnection);
        m_batchOpen = true;
    }
    // Always with a format: the cursor would carry the colour of a sent line on.
    m_appendCursor.insertText(text, format);
}

void MonitorDialog::closeBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    if (!m_appendCursor.isNull()) {
        m_appendCursor.endEditBlock();
        m_appendCursor = QTextCursor();
        if (m_followEnd) {
            QScrollBar *bar = m_view->verticalScrollBar();
            bar->setValue(bar->maximum());
        }
    }
    if (m_paused)
        updatePauseText();
}

void MonitorDialog::chooseRecordFile()
{
    // A recording appends, so an existing file is no reason to ask.
    const QString chosen = askAppendFileName(this, tr("选择记录文件"),
        m_recordFile.isEmpty() ? MonitorRecorder::defaultFileName(m_settings.recordFolder, m_clock()) : m_recordFile,
        tr("日志文件 (*.log);;所有文件 (*)"));
    if (chosen.isEmpty())
        return;
    m_recordFile = chosen;
    showRecordFile(chosen);
    m_settings.recordFolder = QDir::cleanPath(QFileInfo(chosen).absolutePath());
    storeSettings();
    // A recording under way goes on in the new file.
    if (m_recorder.isRecording())
        startRecording();
}

void MonitorDialog::showRecordFile(const QString &fileName)
{
    // The name matters most: the field starts at the end, the tip has it all.
    const QString shown = QDir::toNativeSeparators(fileName);
    m_edRecordFile->setText(shown);
    m_edRecordFile->setToolTip(shown);
    m_edRecordFile->end(false);
}

void MonitorDialog::setRecording(bool on)
{
    if (!on) {
        stopRecording();
        return;
    }
    if (m_thread.isRunning())
        startRecording();
}

void MonitorDialog::startRecording()
{
    const QString fileName
        = m_recordFile.isEmpty() ? MonitorRecorder::defaultFileName(m_settings.recordFolder, m_clock()) : m_recordFile;
    m_edRecordFile->setText(fileName);
    const auto content = m_settings.recordRaw ? MonitorRecorder::Content::Raw : MonitorRecorder::Content::Shown;
    const auto named = m_recordFile.isEmpty() ? OutputFile::Name::Program : OutputFile::Name::Chosen;
    // The default folder (records/ in the working folder) is made when first
    // needed; a folder the user chose is not made again.
    if (m_recordFile.isEmpty())
        QDir().mkpath(m_settings.recordFolder);
    if (!m_recorder.start(fileName, content, named)) {
        recordingFailed();
        return;
    }
    m_flushTimer.start();
}

void MonitorDialog::stopRecording()
{
    const QString written = m_recorder.isRecording() ? m_recorder.fileName() : QString();
    m_recorder.stop();
    m_flushTimer.stop();
    if (!written.isEmpty())
        SavedFileNotice::announce(written);
}

void MonitorDialog::recordingFailed()
{
    // One message; the monitor itself keeps running.
    const QString fileName = m_recorder.fileName().isEmpty() ? m_edRecordFile->text() : m_recorder.fileName();
    const QString reason = m_recorder.errorText();
    m_recorder.stop();
    m_flushTimer.stop();
    {
        const QSignalBlocker blocker(m_ckRecord);
        m_ckRecord->setChecked(false);
    }
    slotShowError(tr("记录到文件"),
        tr("无法写入记录文件: %1").arg(QDir::toNativeSeparators(fileName)) + QLatin1Char('\n') + reason);
}

void MonitorDialog::flushRecording()
{
    if (m_recorder.isRecording() && !m_recorder.flush())
        recordingFailed();
}

void MonitorDialog::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (!paused) {
        // Resuming goes back to the live end, also after a find scrolled
        // away from it: the held lines and what follows stay in view.
        closeBatch();
        m_view->moveCursor(QTextCursor::End);
        QScrollBar *bar = m_view->verticalScrollBar();
        bar->setValue(bar->maximum());
        const QStringList held = m_held.take();
        for (const QString &text : held)
            appendText(text);
    }
    updatePauseText();
}

void MonitorDialog::updatePauseText()
{
    m_bntPause->setText(
        m_paused ? tr("继续显示（%1 行）", nullptr, m_held.count()).arg(m_held.count()) : tr("暂停显示"));
}

void MonitorDialog::copyAll()
{
    closeBatch();
    QApplication::clipboard()->setText(m_view->toPlainText());
}

void MonitorDialog::showFindBar()
{
    m_findBar->show();
    m_edFind->setFocus();
    m_edFind->selectAll();
    updateMatchCount();
}

void MonitorDialog::findAgain(QTextDocument::FindFlags flags)
{
    const QString needle = m_edFind->text();
    if (needle.isEmpty())
        return;
    closeBatch();
    if (m_view->find(needle, flags))
        return;
    // Around the end (or the start) once.
    QTextCursor cursor = m_view->textCursor();
    cursor.movePosition(flags & QTextDocument::FindBackward ? QTextCursor::End : QTextCursor::Start);
    m_view->setTextCursor(cursor);
    m_view->find(needle, flags);
    updateMatchCount();
}

void MonitorDialog::updateMatchCount()
{
    const QString needle = m_edFind->text();
    if (needle.isEmpty()) {
        m_lbMatches->clear();
        return;
    }
    const int matches = countMatches(m_view->toPlainText(), needle);
    m_lbMatches->setText(matches == 0 ? tr("无匹配") : tr("%1 处匹配", nullptr, matches).arg(matches));
}

void MonitorDialog::storeSettings()
{
    writeMonitorSettings(*appSettings(), m_settings);
}
