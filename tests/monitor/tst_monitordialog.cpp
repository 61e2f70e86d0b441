#include "app/settings.h"
#include "monitor/monitordialog.h"
#include "sim/debugresponder.h"
#include "sim/simrunner.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QtTest>

namespace {

const QDateTime fixedTime(QDate(2018, 3, 1), QTime(12, 0, 0, 123));

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
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("device/address"), meter.address());
    settings->setValue(QStringLiteral("communicate/udp"), 1);
    settings->setValue(QStringLiteral("udp/address"), QStringLiteral("127.0.0.1"));
    settings->setValue(QStringLiteral("udp/port"), meter.udpPort());
}

} // namespace

class TestMonitorDialog : public QObject
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
};

void TestMonitorDialog::defaultState()
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
    QVERIFY(child<QTextEdit>(dialog, "textEdit")->isReadOnly());
    // The three modes exclude each other.
    child<QRadioButton>(dialog, "rdHex")->click();
    QVERIFY(!child<QRadioButton>(dialog, "rdOriginal")->isChecked());
    QCOMPARE(dialog.mode(), MonitorMode::Hex);
}

void TestMonitorDialog::formatsByMode_data()
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
}

void TestMonitorDialog::formatsByMode()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    QFETCH(QString, shown);
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.setClock([] { return fixedTime; });
    dialog.findChild<QRadioButton *>(button)->click();
    dialog.slotDataRecv(QByteArray());
    dialog.slotDataRecv(line);
    QCOMPARE(child<QTextEdit>(dialog, "textEdit")->toPlainText(), shown);
}

void TestMonitorDialog::modeChangeAffectsLaterLinesOnly()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    QDateTime now = fixedTime;
    dialog.setClock([&now] { return now; });
    dialog.slotDataRecv("first\n");
    child<QRadioButton>(dialog, "rdHex")->click();
    now = now.addMSecs(877);
    dialog.slotDataRecv("2\n");
    child<QRadioButton>(dialog, "rdOriginalHex")->click();
    dialog.slotDataRecv("3\n");
    QCoreApplication::processEvents();
    QCOMPARE(child<QTextEdit>(dialog, "textEdit")->toPlainText(),
        QStringLiteral("first\n"
                       "[2018-03-01 12:00:01.000][2] : 32 0A \n"
                       "[2018-03-01 12:00:01.000][2] : 3 ( 33 0A  )\n"));
}

void TestMonitorDialog::clearEmptiesTheText()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    auto *text = child<QTextEdit>(dialog, "textEdit");
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

void TestMonitorDialog::keepsUserScrollPosition()
{
    TempWorkDir dir;
    MonitorDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QScrollBar *bar = child<QTextEdit>(dialog, "textEdit")->verticalScrollBar();
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

void TestMonitorDialog::listensToTheMeter()
{
    TempWorkDir dir;
    SimRunner meter;
    QVERIFY(meter.isStarted());
    useMeter(meter);
    meter.call([](MeterSim &sim) {
        auto *debug = sim.responder<DebugResponder>();
        debug->setIntervalMs(20);
        debug->setLines({ QStringLiteral("T=25.3C") });
    });

    MonitorDialog dialog;
    ModalBoxCatcher boxes;
    Buttons buttons(dialog);
    auto *text = child<QTextEdit>(dialog, "textEdit");
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

void TestMonitorDialog::errorReturnsToIdle()
{
    TempWorkDir dir;
    appSettings()->setValue(QStringLiteral("communicate/udp"), 0);
    appSettings()->setValue(QStringLiteral("serial/port"), QStringLiteral("/nonexistent/ttyX"));
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

void TestMonitorDialog::closingWhileListeningStopsTheMeter()
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

QTEST_MAIN(TestMonitorDialog)
#include "tst_monitordialog.moc"
