// Long use: the monitor and history dialogs taking ten minutes' worth of
// lines, pushed as fast as they come. Memory may grow with the text kept and
// nothing else: after clearing, a second batch of the same size must not need
// more than the first one did.
#include "base/settings.h"
#include "history/historydata.h"
#include "monitor/monitordialog.h"
#include "sim/debugresponder.h"
#include "sim/metersim.h"
#include "sim/simrunner.h"
#include "tests/reliability/processprobe.h"
#include "tests/support/meterlink.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

namespace {

// Ten minutes of a serial line at 9600 baud, about 960 bytes a second.
constexpr qint64 kTenMinutesBytes = 960LL * 600;

struct Round
{
    qint64 lines = 0;
    qint64 rssAfterKb = 0;
    qint64 textChars = 0;
    qint64 ms = 0;
};

QString describe(const char *what, const Round &first, const Round &second, qint64 baseKb)
{
    return QStringLiteral("%1: %2 lines, %3 KiB text; RSS +%4 MiB after the first batch, +%5 MiB after the second "
                          "(cleared in between); %6 ms and %7 ms")
        .arg(QLatin1String(what))
        .arg(first.lines)
        .arg(first.textChars * 2 / 1024)
        .arg((first.rssAfterKb - baseKb) / 1024)
        .arg((second.rssAfterKb - baseKb) / 1024)
        .arg(first.ms)
        .arg(second.ms);
}

} // namespace

class TstLongUse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void monitorStreamFromMeter();
    void historyLines();

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

void TstLongUse::init()
{
    m_dir.reset(new TempWorkDir);
}

void TstLongUse::cleanup()
{
    singleton<Config>::release();
    m_dir.reset();
}

// The real path: the meter talks without pause, the monitor thread splits,
// the dialog shows. Ten minutes of a 9600 baud line (28,800 lines of about
// 20 bytes) arrive in a few seconds, 60 lines every 10 ms.
void TstLongUse::monitorStreamFromMeter()
{
    SimRunner meter(SimProfile::demo());
    QVERIFY(meter.isStarted());
    connectToMeter(meter, true);
    meter.call([](MeterSim &sim) {
        DebugResponder *debug = sim.responder<DebugResponder>();
        debug->setLines({ QStringLiteral("ADC=1023 T=25.3C") });
        debug->setIntervalMs(10);
        debug->setLinesPerTick(60);
        debug->setParts(1);
    });
    const qint64 linesPerBatch = kTenMinutesBytes / 20;

    ModalBoxCatcher catcher;
    MonitorDialog dialog;
    dialog.show();
    auto *text = dialog.findChild<QPlainTextEdit *>();
    QVERIFY(text);
    const int threadsBefore = processThreadCount();
    qint64 received = 0;
    connect(&dialog.monitorThread(), &MonitorThread::signalDataRecv, this, [&received] { ++received; });
    QCoreApplication::processEvents();
    const qint64 baseKb = liveRssKb();

    Round rounds[2];
    for (Round &round : rounds) {
        QElapsedTimer timer;
        timer.start();
        received = 0;
        dialog.findChild<QPushButton *>(QStringLiteral("bntStart"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(received >= linesPerBatch, 90000);
        dialog.findChild<QPushButton *>(QStringLiteral("bntStop"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.monitorThread().isRunning(), 15000);
        QCoreApplication::processEvents();
        round.ms = timer.elapsed();
        round.lines = received;
        round.textChars = text->document()->characterCount();
        round.rssAfterKb = liveRssKb();
        QVERIFY(round.textChars > linesPerBatch * 16);
        QCOMPARE(text->document()->availableUndoSteps(), 0);
        dialog.findChild<QPushButton *>(QStringLiteral("bntClear"))->click();
        QCOMPARE(text->document()->characterCount(), 1);
    }
    QCOMPARE(catcher.texts(), QStringList());
    QCOMPARE(waitForThreadCount(threadsBefore, 2000), threadsBefore);
    const QString report = describe("monitor", rounds[0], rounds[1], baseKb);
    qInfo("%s", qPrintable(report));
    // The second batch reuses what the first one freed.
    const qint64 firstGrowth = qMax<qint64>(rounds[0].rssAfterKb - baseKb, 0);
    if (kMemoryBoundsApply)
        QVERIFY2(rounds[1].rssAfterKb - baseKb <= firstGrowth * 5 / 4 + 16 * 1024, qPrintable(report));
}

// The history text as the reader hands it over, line by line.
void TstLongUse::historyLines()
{
    ModalBoxCatcher catcher;
    HistoryData dialog;
    dialog.show();
    auto *text = dialog.findChild<QTextEdit *>();
    QVERIFY(text);
    const QString line = QStringLiteral("2024-06-01 08:00:00,流量 123.45 m3/h,累积 10234.5 m3,22.5\r\n");
    const qint64 linesPerBatch = kTenMinutesBytes / line.toUtf8().size();
    QCoreApplication::processEvents();
    const qint64 baseKb = liveRssKb();

    // Two batches: the second must not cost more than the first.
    Round rounds[2];
    for (Round &round : rounds) {
        QElapsedTimer timer;
        timer.start();
        for (qint64 i = 0; i < linesPerBatch; ++i) {
            QMetaObject::invokeMethod(&dialog, "slotAddText", Qt::DirectConnection, Q_ARG(QString, line));
            if (i % 200 == 0)
                QCoreApplication::processEvents();
        }
        // The dialog lays out what arrived over several turns of the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(text->document()->characterCount() >= linesPerBatch * (line.size() - 1), 60000);
        round.ms = timer.elapsed();
        round.lines = linesPerBatch;
        round.textChars = text->document()->characterCount();
        round.rssAfterKb = liveRssKb();
        // The view keeps no undo history that would grow with every line.
        QCOMPARE(text->document()->availableUndoSteps(), 0);
        QVERIFY(round.textChars >= linesPerBatch * (line.size() - 1));
        QMetaObject::invokeMethod(&dialog, "slotClearText", Qt::DirectConnection);
        QCOMPARE(text->document()->characterCount(), 1);
    }
    QCOMPARE(catcher.texts(), QStringList());
    const QString report = describe("history", rounds[0], rounds[1], baseKb);
    qInfo("%s", qPrintable(report));
    const qint64 firstGrowth = qMax<qint64>(rounds[0].rssAfterKb - baseKb, 0);
    if (kMemoryBoundsApply)
        QVERIFY2(rounds[1].rssAfterKb - baseKb <= firstGrowth * 5 / 4 + 16 * 1024, qPrintable(report));
}

QTEST_MAIN(TstLongUse)
#include "tst_longuse.moc"
