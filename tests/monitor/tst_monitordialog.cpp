#include "base/filedialogs.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "link/frame.h"
#include "link/serialportnames.h"
#include "base/settingskeys.h"
#include "monitor/monitorcommandsdialog.h"
#include "monitor/monitordialog.h"
#include "sim/debugresponder.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/ptypair.h"
#include "tests/support/tempworkdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QPlainTextEdit>
#include <QTextCodec>
#include <QTranslator>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QDateTime kFixedTime(QDate(2018, 3, 1), QTime(12, 0, 0, 123));

template<class T> T *child(QWidget &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("missing %s", name);
    return widget;
}

struct Buttons
{
    explicit Buttons(QWidget &dialog)
        : start(child<QPushButton>(dialog, "bntStart"))
        , stop(child<QPushButton>(dialog, "bntStop"))
        , clear(child<QPushButton>(dialog, "bntClear"))
        , debug(child<QCheckBox>(dialog, "ckDebug"))
    {
    }
    bool idle() const { return start->isEnabled() && !stop->isEnabled() && debug->isEnabled(); }
    bool listening() const { return !start->isEnabled() && stop->isEnabled() && !debug->isEnabled(); }
    QPushButton *start;
    QPushButton *stop;
    QPushButton *clear;
    QCheckBox *debug;
};

void useMeter(const SimRunner &meter)
{
    connectToMeter(meter, true);
}

// The same, with a meter that sends one line every 20 ms while debugging.
void useTalkingMeter(SimRunner &meter)
{
    useMeter(meter);
    meter.call([](MeterSim &sim) {
        auto *debug = sim.responder<DebugResponder>();
        debug->setIntervalMs(20);
        debug->setLines({ QStringLiteral("T=25.3C") });
    });
}

// Records as a user would, the file dialog answered through its seam: choose,
// check, listen.
void recordTo(MonitorDialog &dialog, const QString &fileName, bool raw)
{
    setNextFileNames({ fileName });
    child<QComboBox>(dialog, "cmbRecordContent")->setCurrentIndex(raw ? 1 : 0);
    child<QPushButton>(dialog, "bntRecordFile")->click();
    child<QCheckBox>(dialog, "ckRecord")->setChecked(true);
}

QByteArray fileContent(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList listRows(QListWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

// Fills the editor's fields as the user types them and presses the button.
void editCommand(
    MonitorCommandsDialog &editor, const QString &name, int mode, int lineEnd, const QString &text, const char *button)
{
    child<QLineEdit>(editor, "edCommandName")->setText(name);
    child<QComboBox>(editor, "cmbCommandMode")->setCurrentIndex(mode);
    child<QComboBox>(editor, "cmbCommandLineEnd")->setCurrentIndex(lineEnd);
    child<QLineEdit>(editor, "edCommandText")->setText(text);
    child<QPushButton>(editor, button)->click();
}

// What the user does in the commands editor; it ends with OK.
void driveCommandsEditor(MonitorCommandsDialog &editor, const TempWorkDir &dir)
{
    auto *list = child<QListWidget>(editor, "lstCommands");
    auto *error = child<QLabel>(editor, "lbCommandError");
    // Control characters are shown escaped; a tab is shown as it is.
    QCOMPARE(listRows(list), QStringList { "版本  —  AT\\x01\t\\x7f" });
    list->setCurrentRow(0);
    QCOMPARE(child<QLineEdit>(editor, "edCommandText")->text(), QString("AT\x01\t\x7f"));

    editCommand(editor, "读第0项", 1, 0, "01 03 4B 00 00 00 F1 D2", "bntAddCommand");
    editCommand(editor, "坏的", 1, 0, "01 0", "bntAddCommand");
    QCOMPARE(error->text(), QString("第4个字符: 十六进制数字不成对"));
    QCOMPARE(list->count(), 2);
    list->setCurrentRow(0);
    editCommand(editor, "版本", 0, 3, "AT\x1b", "bntChangeCommand");
    QCOMPARE(error->text(), QString());
    QCOMPARE(listRows(list), QStringList({ "版本  —  AT\\x1b", "读第0项  —  01 03 4B 00 00 00 F1 D2" }));

    const QString exported = dir.filePath("commands.txt");
    setNextFileNames({ exported });
    child<QPushButton>(editor, "bntExportCommands")->click();
    QCOMPARE(dir.readFile("commands.txt"),
        QByteArray("版本\ttext\tcrlf\tAT\x1b\n读第0项\thex\tnone\t01 03 4B 00 00 00 F1 D2\n"));
    for (int i = 0; i < 2; ++i)
        child<QPushButton>(editor, "bntRemoveCommand")->click();
    QCOMPARE(list->count(), 0);

    // A file with a bad line adds nothing and names the line.
    dir.writeFile("bad.txt", "a\ttext\tnone\tx\nb\n");
    setNextFileNames({ dir.filePath("bad.txt") });
    child<QPushButton>(editor, "bntImportCommands")->click();
    QCOMPARE(error->text(), QString("第2行: 应为 名称<TAB>模式<TAB>行尾<TAB>内容"));
    QCOMPARE(list->count(), 0);
    setNextFileNames({ exported });
    child<QPushButton>(editor, "bntImportCommands")->click();
    QCOMPARE(list->count(), 2);
    editor.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TstMonitorDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }
    void defaultState();
    void formatsByMode_data();
    void formatsByMode();
    void modeChangeAffectsLaterLinesOnly();
    void clearEmptiesTheText();
    void keepsUserScrollPosition();
    void listensToTheMeter();
    void errorReturnsToIdle();
    void closingWhileListeningStopsTheMeter();
    void recordsWhatIsShownOrReceived_data();
    void recordsWhatIsShownOrReceived();
    void recordingIsFlushedWithinASecond();
    void unwritableRecordingLeavesTheMonitorRunning_data();
    void unwritableRecordingLeavesTheMonitorRunning();
    void defaultRecordingNameIsNotFollowedThroughALink();
    void recordingsGoToRecordsByDefault();
    void pauseHoldsAndResumesInOrder();
    void viewKeepsTheLastMaxLines();
    void findCountsAndWraps();
    void survivesUnplugAndSends_data();
    void survivesUnplugAndSends();
    void resumingAfterAFindReturnsToTheLiveEnd();
    void commandsEditorAddsChangesRemovesAndExchangesFiles();
    void screenshots_data();
    void screenshots();
};

void TstMonitorDialog::defaultState()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    Buttons buttons(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("设备监听"));
    QCOMPARE(dialog.size(), QSize(743, 534));
    QVERIFY(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(child<QRadioButton>(dialog, "rdOriginal")->isChecked());
    QCOMPARE(dialog.mode(), MonitorMode::Original);
    QVERIFY(buttons.debug->isChecked());
    QVERIFY(buttons.idle());
    QVERIFY(buttons.clear->isEnabled());
    QVERIFY(child<QPlainTextEdit>(dialog, "textEdit")->isReadOnly());
    // The three modes exclude each other.
    child<QRadioButton>(dialog, "rdHex")->click();
    QVERIFY(!child<QRadioButton>(dialog, "rdOriginal")->isChecked());
    QCOMPARE(dialog.mode(), MonitorMode::Hex);
}

void TstMonitorDialog::formatsByMode_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("shown");

    // The document holds line breaks as block ends; toPlainText gives \n.
    QTest::newRow("hex") << "rdHex" << QByteArray("1\r\n")
                         << QStringLiteral("[2018-03-01 12:00:00.123][3] : 31 0D 0A \n");
    QTest::newRow("combined") << "rdOriginalHex" << QByteArray("1\r\n")
                              << QStringLiteral("[2018-03-01 12:00:00.123][3] : 1 ( 31 0D 0A  )\n");
    QTest::newRow("combined, empty text")
        << "rdOriginalHex" << QByteArray("\r\n") << QStringLiteral("[2018-03-01 12:00:00.123][2] :  ( 0D 0A  )\n");
    QTest::newRow("raw chinese") << "rdOriginal" << QByteArray("\xc1\xf7\xc1\xbf=5\n") << QStringLiteral("流量=5\n");
    QTest::newRow("raw without prefix") << "rdOriginal" << QByteArray("a\r\n") << QStringLiteral("a\n");
    // A line cut at the splitter's cap still ends its line in the view.
    QTest::newRow("raw cut line") << "rdOriginal" << QByteArray("abc") << QStringLiteral("abc\n");
    // One huge line shows its start and its size, in every mode.
    const QByteArray huge = QByteArray(1 << 20, 'A') + '\n';
    const QString note = QStringLiteral("…（共 1048577 字节）");
    const QString hex = QStringLiteral("41 ").repeated(4096);
    QTest::newRow("huge raw") << "rdOriginal" << huge << QString(4096, 'A') + note + '\n';
    QTest::newRow("huge hex") << "rdHex" << huge
                              << QStringLiteral("[2018-03-01 12:00:00.123][1048577] : ") + hex + note + '\n';
    QTest::newRow("huge combined") << "rdOriginalHex" << huge
                                   << QStringLiteral("[2018-03-01 12:00:00.123][1048577] : ") + QString(4096, 'A')
            + QStringLiteral(" ( ") + hex + QStringLiteral(" )") + note + '\n';
}

void TstMonitorDialog::formatsByMode()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    QFETCH(QString, shown);
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.setClock([] { return kFixedTime; });
    dialog.findChild<QRadioButton *>(button)->click();
    dialog.slotDataRecv(QByteArray());
    dialog.slotDataRecv(line);
    QCOMPARE(child<QPlainTextEdit>(dialog, "textEdit")->toPlainText(), shown);
}

void TstMonitorDialog::modeChangeAffectsLaterLinesOnly()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    QDateTime now = kFixedTime;
    dialog.setClock([&now] { return now; });
    dialog.slotDataRecv("first\n");
    child<QRadioButton>(dialog, "rdHex")->click();
    now = now.addMSecs(877);
    dialog.slotDataRecv("2\n");
    child<QRadioButton>(dialog, "rdOriginalHex")->click();
    dialog.slotDataRecv("3\n");
    QCoreApplication::processEvents();
    QCOMPARE(child<QPlainTextEdit>(dialog, "textEdit")->toPlainText(),
        QStringLiteral("first\n"
                       "[2018-03-01 12:00:01.000][2] : 32 0A \n"
                       "[2018-03-01 12:00:01.000][2] : 3 ( 33 0A  )\n"));
}

void TstMonitorDialog::clearEmptiesTheText()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    dialog.slotDataRecv("a\n");
    QCoreApplication::processEvents();
    dialog.slotDataRecv("b\n");
    QTest::mousePress(child<QPushButton>(dialog, "bntClear"), Qt::LeftButton);
    QCOMPARE(text->toPlainText(), QString());
    QCoreApplication::processEvents();
    dialog.slotDataRecv("c\n");
    QCoreApplication::processEvents();
    QCOMPARE(text->toPlainText(), QStringLiteral("c\n"));
}

void TstMonitorDialog::keepsUserScrollPosition()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QScrollBar *bar = child<QPlainTextEdit>(dialog, "textEdit")->verticalScrollBar();
    for (int i = 0; i < 200; ++i)
        dialog.slotDataRecv(QByteArray::number(i) + '\n');
    QCoreApplication::processEvents();
    // At the bottom the view follows new lines.
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    // Scrolled up to read, it stays put.
    bar->setValue(10);
    for (int i = 0; i < 50; ++i)
        dialog.slotDataRecv("more\n");
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), 10);
}

void TstMonitorDialog::listensToTheMeter()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useTalkingMeter(meter);

    MonitorDialog dialog;
    ModalBoxCatcher boxes;
    Buttons buttons(dialog);
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    dialog.show();
    QTest::mousePress(buttons.start, Qt::LeftButton);
    QTRY_VERIFY(buttons.listening());
    QTRY_VERIFY(text->document()->blockCount() > 3);
    QVERIFY(meter.state().extra.value(QStringLiteral("debug/on")).toBool());
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("00001 T=25.3C\n00002 T=25.3C\n")));

    QTest::mousePress(buttons.stop, Qt::LeftButton);
    QTRY_VERIFY(buttons.idle());
    QVERIFY(!meter.state().extra.value(QStringLiteral("debug/on")).toBool());
    QVERIFY(boxes.boxes().isEmpty());

    // Debug unchecked: only "0" goes out, and lines are not switched on.
    meter.clearReceived();
    buttons.debug->setChecked(false);
    QTest::mousePress(buttons.start, Qt::LeftButton);
    QTRY_VERIFY(buttons.listening());
    QVERIFY(meter.waitForFrames(1, 5000));
    QTest::mousePress(buttons.stop, Qt::LeftButton);
    QTRY_VERIFY(buttons.idle());
    QCOMPARE(meter.receivedFrames().size(), 1);
    QCOMPARE(meter.receivedRequests().first().data, QByteArray("0\0", 2));
}

void TstMonitorDialog::errorReturnsToIdle()
{
    TempWorkDir dir;
    storeLinkSettings(LinkSettings::overSerial(QStringLiteral("/nonexistent/ttyX"), 255));
    MonitorDialog dialog;
    ModalBoxCatcher boxes;
    Buttons buttons(dialog);
    dialog.show();
    QTest::mousePress(buttons.start, Qt::LeftButton);
    QTRY_COMPARE(boxes.boxes().size(), 1);
    const ModalBoxCatcher::Box box = boxes.boxes().first();
    QCOMPARE(box.title, QStringLiteral("设备监听"));
    QCOMPARE(box.text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("打开串口失败: /nonexistent/ttyX"));
    QVERIFY2(box.text.section(QLatin1Char('\n'), 1).startsWith(QStringLiteral("/nonexistent/ttyX 9600 8N1")),
        qPrintable(box.text));
    QCOMPARE(box.okText, QStringLiteral("确定"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QTRY_VERIFY(buttons.idle());
}

void TstMonitorDialog::closingWhileListeningStopsTheMeter()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter);
    {
        MonitorDialog dialog;
        Buttons buttons(dialog);
        QTest::mousePress(buttons.start, Qt::LeftButton);
        QVERIFY(meter.waitForFrames(1, 5000));
    }
    // The closing switch went out before the dialog was gone.
    QCOMPARE(meter.receivedFrames().size(), 2);
    QVERIFY(!meter.state().extra.value(QStringLiteral("debug/on")).toBool());
}

void TstMonitorDialog::recordsWhatIsShownOrReceived_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QByteArray>("recorded");
    const QByteArray line2 = QByteArray(5000, 'x') + '\n'; // longer than the view shows
    QTest::newRow("text") << "rdOriginal" << false << QByteArray("a\r\n\xe6\xb5\x81=5\n") + line2;
    QTest::newRow("hex") << "rdHex" << false
                         << QByteArray("[2018-03-01 12:00:00.123][3] : 61 0D 0A \r\n"
                                       "[2018-03-01 12:00:00.123][5] : C1 F7 3D 35 0A \r\n")
            + "[2018-03-01 12:00:00.123][5001] : " + QByteArray("78 ").repeated(5000) + "0A \r\n";
    QTest::newRow("raw bytes") << "rdHex" << true << QByteArray("a\r\n\xc1\xf7=5\n") + line2;
}

void TstMonitorDialog::recordsWhatIsShownOrReceived()
{
    QFETCH(QString, button);
    QFETCH(bool, raw);
    QFETCH(QByteArray, recorded);
    TempWorkDir dir;
    const QString fileName = dir.filePath(QStringLiteral("sub/../record.log"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    MonitorDialog dialog;
    dialog.setClock([] { return kFixedTime; });
    dialog.findChild<QRadioButton *>(button)->click();
    recordTo(dialog, fileName, raw);
    dialog.slotDataRecv("before listening\n"); // not recorded
    dialog.slotThreadStarted();
    QVERIFY(dialog.recorder().isRecording());
    dialog.slotDataRecv("a\r\n");
    dialog.slotDataRecv("\xc1\xf7=5\n");
    dialog.slotDataRecv(QByteArray(5000, 'x') + '\n');
    dialog.slotThreadFinished();
    QVERIFY(!dialog.recorder().isRecording());
    QCOMPARE(fileContent(fileName), recorded);
    // The folder chosen is where the next recording goes by default.
    QCOMPARE(appSettings()->value("monitor/record_folder").toString(), dir.path());
    QCOMPARE(MonitorRecorder::defaultFileName(dir.path(), kFixedTime), dir.filePath("monitor_20180301-120000.log"));
}

void TstMonitorDialog::recordingIsFlushedWithinASecond()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    const QString fileName = dir.filePath(QStringLiteral("live.log"));
    recordTo(dialog, fileName, true);
    dialog.slotThreadStarted();
    dialog.slotDataRecv("one\n");
    QElapsedTimer timer;
    timer.start();
    QTRY_COMPARE_WITH_TIMEOUT(fileContent(fileName), QByteArray("one\n"), 2000);
    QVERIFY2(timer.elapsed() <= 1200, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(dialog.recorder().isRecording());
}

void TstMonitorDialog::unwritableRecordingLeavesTheMonitorRunning_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("folder missing") << "/nonexistent/folder/x.log";
    // Refused by name: a device is no place for a recording.
    QTest::newRow("device") << "/dev/full";
    // Would hold the window in open() until a reader came, and end the
    // program when it left.
    QTest::newRow("FIFO") << "@fifo";
}

void TstMonitorDialog::unwritableRecordingLeavesTheMonitorRunning()
{
    QFETCH(QString, fileName);
    TempWorkDir dir;
    if (fileName == "@fifo") {
        fileName = dir.filePath("fifo.log");
        QVERIFY(::mkfifo(QFile::encodeName(fileName).constData(), 0600) == 0);
    }
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useTalkingMeter(meter);
    MonitorDialog dialog;
    ModalBoxCatcher boxes;
    Buttons buttons(dialog);
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    recordTo(dialog, fileName, false);
    dialog.show();
    QTest::mousePress(buttons.start, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 1, 5000);
    QCOMPARE(boxes.boxes().first().title, QStringLiteral("记录到文件"));
    QVERIFY2(boxes.boxes().first().text.startsWith(QStringLiteral("无法写入记录文件: ") + fileName),
        qPrintable(boxes.boxes().first().text));
    QVERIFY(!child<QCheckBox>(dialog, "ckRecord")->isChecked());
    // Lines keep coming after the message, and no second message follows.
    const int shown = text->document()->blockCount();
    QTRY_VERIFY(text->document()->blockCount() > shown + 3);
    QVERIFY(buttons.listening());
    QTest::mousePress(buttons.stop, Qt::LeftButton);
    QTRY_VERIFY(buttons.idle());
    QCOMPARE(boxes.boxes().size(), 1);
}

void TstMonitorDialog::defaultRecordingNameIsNotFollowedThroughALink()
{
    // The program names the default file: a link placed there beforehand
    // must not make it append to another file.
    TempWorkDir dir;
    appSettings()->setValue("monitor/record_folder", dir.path());
    dir.writeFile(QStringLiteral("victim.log"), "mine\n");
    QVERIFY(QFile::link(dir.filePath("victim.log"), dir.filePath("monitor_20180301-120000.log")));
    MonitorDialog dialog;
    dialog.setClock([] { return kFixedTime; });
    ModalBoxCatcher boxes;
    child<QCheckBox>(dialog, "ckRecord")->setChecked(true);
    dialog.slotThreadStarted();
    dialog.slotDataRecv("line\n");
    dialog.slotThreadFinished();
    QCOMPARE(boxes.texts(),
        QStringList { QStringLiteral("无法写入记录文件: %1\n这是一个符号链接;程序自己命名的文件不经链接写入")
                          .arg(dir.filePath("monitor_20180301-120000.log")) });
    QCOMPARE(dir.readFile(QStringLiteral("victim.log")), QByteArray("mine\n"));
}

void TstMonitorDialog::recordingsGoToRecordsByDefault()
{
    // records/ in the working folder, made when first needed; the window is
    // told where the recording went when it ends.
    TempWorkDir dir;
    QSignalSpy saved(&SavedFileNotice::instance(), &SavedFileNotice::saved);
    MonitorDialog dialog;
    dialog.setClock([] { return kFixedTime; });
    child<QCheckBox>(dialog, "ckRecord")->setChecked(true);
    dialog.slotThreadStarted();
    dialog.slotDataRecv("line\n");
    QCOMPARE(saved.size(), 0);
    dialog.slotThreadFinished();
    QCOMPARE(dir.readFile(QStringLiteral("records/monitor_20180301-120000.log")), QByteArray("line\n"));
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.first().first().toString(), dir.filePath(QStringLiteral("records/monitor_20180301-120000.log")));
    // Not stored: the default follows the working folder, a chosen one wins.
    QVERIFY(!appSettings()->contains(SettingsKey::kMonitorRecordFolder));
}

void TstMonitorDialog::pauseHoldsAndResumesInOrder()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    auto *pause = child<QPushButton>(dialog, "bntPause");
    dialog.slotDataRecv("1\n");
    pause->click();
    for (const char *line : { "2\n", "3\n", "4\n" })
        dialog.slotDataRecv(line);
    QCoreApplication::processEvents();
    QCOMPARE(text->toPlainText(), QStringLiteral("1\n"));
    QCOMPARE(pause->text(), QStringLiteral("继续显示（3 行）"));
    pause->click();
    dialog.slotDataRecv("5\n");
    QCoreApplication::processEvents();
    QCOMPARE(text->toPlainText(), QStringLiteral("1\n2\n3\n4\n5\n"));
    QCOMPARE(pause->text(), QStringLiteral("暂停显示"));
}

void TstMonitorDialog::viewKeepsTheLastMaxLines()
{
    TempWorkDir dir;
    appSettings()->setValue(QStringLiteral("monitor/max_lines"), 3);
    MonitorDialog dialog;
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    for (int i = 1; i <= 5; ++i)
        dialog.slotDataRecv(QByteArray::number(i) + '\n');
    QCoreApplication::processEvents();
    QCOMPARE(text->toPlainText(), QStringLiteral("3\n4\n5\n"));
    // Held lines are bounded the same way.
    child<QPushButton>(dialog, "bntPause")->click();
    for (int i = 6; i <= 12; ++i)
        dialog.slotDataRecv(QByteArray::number(i) + '\n');
    QCOMPARE(dialog.heldLineCount(), 3);
    child<QPushButton>(dialog, "bntPause")->click();
    QCoreApplication::processEvents();
    QCOMPARE(text->toPlainText(), QStringLiteral("10\n11\n12\n"));
}

void TstMonitorDialog::findCountsAndWraps()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *text = child<QPlainTextEdit>(dialog, "textEdit");
    for (const char *line : { "ADC=1\n", "T=25\n", "adc=2\n", "ADC=3\n" })
        dialog.slotDataRecv(line);
    QVERIFY(!child<QWidget>(dialog, "findBar")->isVisible());
    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(child<QWidget>(dialog, "findBar")->isVisible());
    QTest::keyClicks(child<QLineEdit>(dialog, "edFind"), QStringLiteral("adc"));
    QCOMPARE(child<QLabel>(dialog, "lbMatches")->text(), QStringLiteral("3 处匹配"));
    QCOMPARE(text->textCursor().selectedText(), QStringLiteral("ADC"));
    QCOMPARE(text->textCursor().blockNumber(), 0);
    auto *next = child<QPushButton>(dialog, "bntFindNext");
    next->click();
    QCOMPARE(text->textCursor().blockNumber(), 2);
    next->click();
    next->click(); // past the last: back to the first
    QCOMPARE(text->textCursor().blockNumber(), 0);
    child<QPushButton>(dialog, "bntFindPrevious")->click();
    QCOMPARE(text->textCursor().blockNumber(), 3);
    QTest::keyClicks(child<QLineEdit>(dialog, "edFind"), QStringLiteral("x"));
    QCOMPARE(child<QLabel>(dialog, "lbMatches")->text(), QStringLiteral("无匹配"));
    // Escape closes the bar, not the dialog.
    QTest::keyClick(child<QLineEdit>(dialog, "edFind"), Qt::Key_Escape);
    QVERIFY(!child<QWidget>(dialog, "findBar")->isVisible());
    QVERIFY(dialog.isVisible());
}

void TstMonitorDialog::survivesUnplugAndSends_data()
{
    QTest::addColumn<bool>("byId");
    QTest::newRow("back under its path") << false;
    QTest::newRow("back under its by-id name only") << true;
}

void TstMonitorDialog::survivesUnplugAndSends()
{
    QFETCH(bool, byId);
    TempWorkDir dir;
    QVERIFY(QDir(dir.path()).mkdir("by-id"));
    setSerialByIdFolder(dir.filePath("by-id"));
    // The meter's pty behind a link that goes with the cable and comes back with it.
    SimTransportOptions options;
    options.udp = false;
    options.pty = true;
    options.ptyLink = dir.filePath(byId ? "by-id/usb-Vexa_Meter_0001-if00-port0" : "ttyMeter");
    SimRunner meter(SimProfile::demo(), options);
    QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
    meter.call([](MeterSim &sim) {
        sim.responder<DebugResponder>()->setIntervalMs(50);
        sim.responder<DebugResponder>()->setLines({ QStringLiteral("T=25.3C") });
    });
    storeLinkSettings(LinkSettings::overSerial(byId ? meter.ptyPath() : options.ptyLink, meter.address()));

    MonitorDialog dialog;
    dialog.setClock([] { return kFixedTime; });
    ModalBoxCatcher boxes;
    Buttons buttons(dialog);
    auto *view = child<QPlainTextEdit>(dialog, "textEdit");
    auto *state = child<QLabel>(dialog, "monitorState");
    auto *line = child<QLineEdit>(dialog, "monitorSend");
    auto *refusal = child<QLabel>(dialog, "lbSendRefusal");
    const QString record = dir.filePath("record.log");
    recordTo(dialog, record, false);
    dialog.show();
    QTest::mousePress(buttons.start, Qt::LeftButton);
    QTRY_COMPARE(state->text(), QStringLiteral("已连接"));
    QTRY_VERIFY(view->toPlainText().contains("T=25.3C"));
    child<QCheckBox>(dialog, "ckAllowSend")->setChecked(true);

    meter.unplugPty();
    QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("连接已断开"), 3000);
    QVERIFY(view->toPlainText().endsWith("—— 连接已断开 12:00:00 ——\n"));
    line->setText("AT");
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(refusal->text(), QStringLiteral("未连接，无法发送"));
    // Another line takes the freed device name: only the stable name leads back to the meter.
    PtyPair squatter;
    meter.clearReceived();
    QVERIFY(meter.plugPty());
    QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("已重新连接"), 5000);
    QVERIFY(view->toPlainText().contains("—— 已重新连接 12:00:00 ——\n"));
    QCOMPARE(meter.receivedFrames().value(0).toHex(' '),
        buildItemWriteFrame(meter.address(), 255, QStringLiteral("1")).toHex(' '));
    QCOMPARE(squatter.readMaster(0, 100), QByteArray());
    QVERIFY(buttons.listening());

    // Text with CR LF; Enter sends and leaves the dialog open.
    meter.clearReceived();
    child<QComboBox>(dialog, "cmbLineEnd")->setCurrentIndex(3);
    line->setText("AT+VER?");
    QTest::keyClick(line, Qt::Key_Return);
    // The view turns to hex before the line is confirmed: it is still shown as sent, as text.
    child<QRadioButton>(dialog, "rdHex")->click();
    QTRY_COMPARE(meter.receivedBytes(), QByteArray("AT+VER?\r\n"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(refusal->text(), QString());
    // Hex without blanks where the user left none, the CRC appended, no line end.
    child<QComboBox>(dialog, "cmbSendMode")->setCurrentIndex(1);
    child<QComboBox>(dialog, "cmbLineEnd")->setCurrentIndex(0);
    child<QCheckBox>(dialog, "ckAppendCrc")->setChecked(true);
    line->setText("01 034b 00 00 00");
    child<QPushButton>(dialog, "bntSend")->click();
    const QByteArray itemRead = QByteArray::fromHex("01034B000000") + QByteArray::fromHex("522E");
    QTRY_COMPARE(meter.receivedBytes().toHex(' '), (QByteArray("AT+VER?\r\n") + itemRead).toHex(' '));
    QTRY_VERIFY(view->toPlainText().contains("→ [2018-03-01 12:00:00.123][8] : 01 03 4B 00 00 00 52 2E \n"));
    // Up brings the lines back, newest first.
    QTest::keyClick(line, Qt::Key_Up);
    QTest::keyClick(line, Qt::Key_Up);
    QCOMPARE(line->text(), QStringLiteral("AT+VER?"));

    // Stop while the port is gone: idle within a second, and nothing opens it again.
    meter.unplugPty();
    QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("连接已断开"), 3000);
    QElapsedTimer stopping;
    stopping.start();
    QTest::mousePress(buttons.stop, Qt::LeftButton);
    QVERIFY2(stopping.elapsed() < 1000, qPrintable(QString::number(stopping.elapsed())));
    QTRY_VERIFY(buttons.idle());
    meter.clearReceived();
    QVERIFY(meter.plugPty());
    QTest::qWait(1500);
    QCOMPARE(meter.receivedBytes(), QByteArray());
    QVERIFY(boxes.boxes().isEmpty());
    setSerialByIdFolder(QString());

    // One recording across the unplugs: lines before and after, the marks and what was sent.
    const QString recorded = QString::fromUtf8(fileContent(record));
    const int lost = recorded.indexOf("—— 连接已断开 12:00:00 ——\n");
    const int back = recorded.indexOf("—— 已重新连接 12:00:00 ——\n");
    QVERIFY2(recorded.indexOf("T=25.3C") < lost && lost < back, qPrintable(recorded));
    QVERIFY(recorded.indexOf("→ AT+VER?\r\n") > back);
    QVERIFY(recorded.contains("→ [2018-03-01 12:00:00.123][8] : 01 03 4B 00 00 00 52 2E \r\n"));
    QCOMPARE(recorded.count("—— 连接已断开"), 2);
}

void TstMonitorDialog::resumingAfterAFindReturnsToTheLiveEnd()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QScrollBar *bar = child<QPlainTextEdit>(dialog, "textEdit")->verticalScrollBar();
    for (int i = 0; i < 200; ++i)
        dialog.slotDataRecv("line " + QByteArray::number(i) + '\n');
    QCoreApplication::processEvents();
    child<QPushButton>(dialog, "bntPause")->click();
    // A find takes the view to the first match, far from the end.
    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(child<QLineEdit>(dialog, "edFind"), QStringLiteral("line 3"));
    QTRY_VERIFY(bar->value() < bar->maximum() / 2);
    for (int i = 200; i < 210; ++i)
        dialog.slotDataRecv("line " + QByteArray::number(i) + '\n');
    child<QPushButton>(dialog, "bntPause")->click();
    QTRY_COMPARE(bar->value(), bar->maximum());
    // and stays with what comes next.
    for (int i = 210; i < 260; ++i)
        dialog.slotDataRecv("line " + QByteArray::number(i) + '\n');
    QTRY_COMPARE(bar->value(), bar->maximum());
}

void TstMonitorDialog::commandsEditorAddsChangesRemovesAndExchangesFiles()
{
    TempWorkDir dir;
    appSettings()->setValue(SettingsKey::kMonitorCommands, QStringList { "版本\ttext\tnone\tAT\x01\t\x7f" });
    MonitorDialog dialog;
    auto *commands = child<QComboBox>(dialog, "monitorCommands");
    QCOMPARE(commands->itemData(1, Qt::ToolTipRole).toString(), QString("AT\\x01\t\\x7f"));
    // The editor is modal: it is driven once it shows, and closed should a check fail.
    QTimer timer;
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, [&timer, &dir] {
        auto *editor = qobject_cast<MonitorCommandsDialog *>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible())
            return;
        timer.stop();
        driveCommandsEditor(*editor, dir);
        if (editor->isVisible())
            editor->reject();
    });
    timer.start();
    child<QPushButton>(dialog, "bntEditCommands")->click();

    QCOMPARE(appSettings()->value(SettingsKey::kMonitorCommands).toStringList(),
        QStringList({ "版本\ttext\tcrlf\tAT\x1b", "读第0项\thex\tnone\t01 03 4B 00 00 00 F1 D2" }));
    QCOMPARE(commands->count(), 3);
    QCOMPARE(commands->itemText(1), QString("版本"));
    QCOMPARE(commands->itemData(1, Qt::ToolTipRole).toString(), QString("AT\\x1b"));
}

void TstMonitorDialog::screenshots_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("zh_CN") << "";
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("zh_TW") << "zh_TW";
}

void TstMonitorDialog::screenshots()
{
    // Pictures for people to look at: only when asked for.
    const QString target = qEnvironmentVariable("MONITOR_SHOTS");
    if (target.isEmpty())
        QSKIP("set MONITOR_SHOTS to a folder to get screenshots");
    QFETCH(QString, language);
    TempWorkDir dir;
    QTranslator translator;
    if (!language.isEmpty()) {
        QVERIFY(translator.load(QStringLiteral(VEXA_QM_DIR "/") + language + QStringLiteral(".qm")));
        QCoreApplication::installTranslator(&translator);
    }
    MonitorDialog dialog;
    recordTo(dialog, dir.filePath(QStringLiteral("monitor_20240301-080000.log")), false);
    child<QRadioButton>(dialog, "rdOriginalHex")->click();
    dialog.slotThreadStarted();
    QTextCodec *gb2312 = QTextCodec::codecForName("gb2312");
    for (int i = 0; i < 12; ++i)
        dialog.slotDataRecv(gb2312->fromUnicode(
            QStringLiteral("%1 ADC=1023 T=25.%2C 流量=12.5\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i % 10)));
    // The line went away and came back; something was sent.
    MonitorThread &thread = dialog.monitorThread();
    emit thread.signalLinkLost();
    emit thread.signalLinkBack();
    emit thread.signalSent("AT+VER?\r\n");
    child<QCheckBox>(dialog, "ckAllowSend")->setChecked(true);
    child<QComboBox>(dialog, "cmbLineEnd")->setCurrentIndex(3);
    child<QLineEdit>(dialog, "monitorSend")->setText("AT+ADDR?");
    child<QPushButton>(dialog, "bntPause")->click();
    for (int i = 0; i < 42; ++i)
        dialog.slotDataRecv("held\r\n");
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(child<QLineEdit>(dialog, "edFind"), QStringLiteral("AT+VER"));
    QCoreApplication::processEvents();
    QVERIFY(dialog.grab().save(target + QStringLiteral("/monitor_%1.png").arg(QTest::currentDataTag())));
    dialog.slotThreadFinished();
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TstMonitorDialog)
#include "tst_monitordialog.moc"
