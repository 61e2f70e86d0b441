#include "bench/benchlocal.h"

#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "bench/benchtable.h"
#include "bench/benchwait.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "history/historydata.h"
#include "history/historyexport.h"
#include "items/configtree.h"
#include "monitor/monitordialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>

#include <ctime>
#include <memory>

#include <sys/resource.h>

namespace {

QString recordLine(int i)
{
    const QDateTime stamp = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 36 * 60);
    return QStringLiteral("%1,%2,%3,%4")
        .arg(stamp.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
        .arg(120.0 + (i % 17) * 0.37, 0, 'f', 2)
        .arg(10000.0 + i * 1.5, 0, 'f', 1)
        .arg(22.0 + (i % 9) * 0.1, 0, 'f', 1);
}

qint64 threadCpuNanos()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

qint64 processCpuNanos()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 monotonicNanos()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Posts `count` queued calls from a thread of its own, the way a worker's
// queued signals arrive, then one more that marks the end; the time runs
// until the window has handled that last one.
double feedFromThread(QObject *target, int count, const std::function<void(int)> &post)
{
    bool done = false;
    QObject marker;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QThread> feeder(QThread::create([&] {
        for (int i = 0; i < count; ++i)
            post(i);
        QMetaObject::invokeMethod(
            &marker, [&done] { done = true; }, Qt::QueuedConnection);
    }));
    feeder->start();
    waitUntil([&] { return done; }, 600000, 1);
    // The layout and paint the last batch asked for.
    QCoreApplication::processEvents();
    feeder->wait();
    Q_UNUSED(target);
    return timer.nsecsElapsed() / 1000.0;
}

double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString perLine(double micros, int lines, const char *unit = "line")
{
    return QStringLiteral("%1 µs per %2").arg(micros / lines, 0, 'f', 1).arg(QLatin1String(unit));
}

} // namespace

void benchItemCsv(BenchTable &table)
{
    MainWindow window;
    for (int i = 0; i < 255; ++i)
        window.slotAddItems(
            i, { QStringLiteral("参数%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(1000 + i * 7) });
    const QString path = QStringLiteral("items.csv");
    BenchRow exportRow { QStringLiteral("item CSV export"), QStringLiteral("local file"), QStringLiteral("255 items"),
        -1, 0, {}, {}, 0 };
    exportRow.medianMicros = medianMicros(
        7,
        [&] {
            setNextFileNames({ path });
            QElapsedTimer timer;
            timer.start();
            window.slotExportItems();
            return timer.nsecsElapsed() / 1000.0;
        },
        &exportRow.runs);
    table.add(exportRow);
    BenchRow importRow { QStringLiteral("item CSV import"), QStringLiteral("local file"), QStringLiteral("255 items"),
        -1, 0, {}, {}, 0 };
    importRow.medianMicros = medianMicros(
        7,
        [&] {
            setNextFileNames({ path });
            QElapsedTimer timer;
            timer.start();
            window.slotImportItems();
            QCoreApplication::processEvents();
            const double micros = timer.nsecsElapsed() / 1000.0;
            return window.configTree()->topLevelItemCount() == 255 ? micros : -1.0;
        },
        &importRow.runs);
    table.add(importRow);
}

void benchItemList(BenchTable &table, int rowCount)
{
    // Rows arriving one per event-loop turn, as on a slow line, until the
    // last one is painted. What counts is the window thread's processor
    // time: the wall time on a shared machine is mostly other work.
    std::vector<double> wall;
    const auto fill = [rowCount, &wall] {
        MainWindow window;
        window.show();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuStart = threadCpuNanos();
        for (int i = 0; i < rowCount; ++i) {
            window.slotAddItems(
                i, { QStringLiteral("参数%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(i * 7) });
            QCoreApplication::processEvents();
        }
        waitUntil([&] { return !window.configTree()->isRowPaintHeld(); }, 60000, 1);
        QCoreApplication::processEvents();
        wall.push_back(timer.nsecsElapsed() / 1000.0);
        return (threadCpuNanos() - cpuStart) / 1000.0;
    };
    BenchRow row { QStringLiteral("item list: rows added one per turn (window thread's time)"),
        QStringLiteral("in process"), QStringLiteral("%1 rows").arg(rowCount), -1, 0, {}, {}, 0 };
    row.medianMicros = medianMicros(5, fill, &row.runs);
    std::sort(wall.begin(), wall.end());
    row.note = perLine(row.medianMicros, rowCount, "row")
        + QStringLiteral("; wall time until the last row is painted %1").arg(formatMicros(wall[wall.size() / 2]));
    table.add(row);
}

void benchPackageParse(BenchTable &table)
{
    QByteArray image(4 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &c : image)
        c = char(random.generate() & 0xFF);
    const QString path = QStringLiteral("big.vexabin");
    BenchRow row { QStringLiteral("firmware package parse"), QStringLiteral("local file"),
        QStringLiteral("4 MiB image"), -1, 0, {}, {}, 0 };
    if (writePackageFile(path, QStringLiteral("VX"), QStringLiteral("1.0"), QStringLiteral("VX-200"), image)
            .isEmpty()) {
        row.medianMicros = medianMicros(
            5,
            [&] {
                DEncryptInfo info;
                info.setFilePath(path);
                QElapsedTimer timer;
                timer.start();
                const QString error = DDbServer(QString::fromLatin1(kPackageConnectionName)).parseFile(info);
                const double micros = timer.nsecsElapsed() / 1000.0;
                return error.isEmpty() && info.image() == image ? micros : -1.0;
            },
            &row.runs);
        row.note = QStringLiteral("file of %1 MiB").arg(QFile(path).size() / (1024.0 * 1024.0), 0, 'f', 1);
    }
    table.add(row);
}

void benchHistoryPdf(BenchTable &table, int lineCount)
{
    // As the dialog runs it: the export on a thread of its own while the
    // window's event loop keeps turning; the longest gap between its turns is
    // what the user would feel.
    QString text;
    for (int i = 0; i < lineCount; ++i)
        text += recordLine(i) + QLatin1Char('\n');
    const QStringList lines = historyTextLines(text);
    BenchRow row { QStringLiteral("history PDF export in the background"), QStringLiteral("local file"),
        QStringLiteral("%1 lines").arg(lineCount), -1, 0, {}, {}, 0 };
    double longestGap = 0;
    // Processor time, which the other work on a shared machine does not
    // stretch: the drawing thread's bounds the time on two idle cores.
    std::vector<double> drawingCpu;
    std::vector<double> allCpu;
    row.medianMicros = medianMicros(
        5,
        [&] {
            HistoryExportResult result = HistoryExportResult::OpenFailed;
            QElapsedTimer timer;
            timer.start();
            const qint64 cpuBefore = processCpuNanos();
            std::unique_ptr<QThread> worker(QThread::create([&] {
                const qint64 start = threadCpuNanos();
                result = exportHistoryPdf(QStringLiteral("history.pdf"), lines);
                drawingCpu.push_back((threadCpuNanos() - start) / 1000.0);
            }));
            // The window waits for events as the progress dialog's loop does
            // (a loop of processEvents() calls would spin and take a core from
            // the export); a 10 ms timer shows how late it gets its turns.
            QEventLoop loop;
            QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
            QTimer tick;
            tick.setTimerType(Qt::PreciseTimer);
            qint64 lastTurn = timer.nsecsElapsed();
            QObject::connect(&tick, &QTimer::timeout, [&] {
                const qint64 now = timer.nsecsElapsed();
                longestGap = qMax(longestGap, (now - lastTurn) / 1000.0);
                lastTurn = now;
            });
            worker->start();
            tick.start(10);
            loop.exec();
            worker->wait();
            const double micros = timer.nsecsElapsed() / 1000.0;
            allCpu.push_back((processCpuNanos() - cpuBefore) / 1000.0);
            return result == HistoryExportResult::Ok ? micros : -1.0;
        },
        &row.runs);
    if (row.medianMicros > 0)
        row.note = perLine(row.medianMicros, lineCount)
            + QStringLiteral(", %1 KiB; processor time %2 on the drawing thread, %3 on all threads (medians); the "
                             "window's 10 ms timer fired at most %4 apart")
                  .arg(QFile(QStringLiteral("history.pdf")).size() / 1024)
                  .arg(formatMicros(medianOf(drawingCpu)))
                  .arg(formatMicros(medianOf(allCpu)))
                  .arg(formatMicros(longestGap));
    table.add(row);
}

void benchHistoryView(BenchTable &table, int lineCount)
{
    QStringList lines;
    for (int i = 0; i < lineCount; ++i)
        lines.append(recordLine(i) + QStringLiteral("\r\n"));
    BenchRow row { QStringLiteral("history dialog: lines appended"), QStringLiteral("in process"),
        QStringLiteral("%1 lines").arg(lineCount), -1, 0, {}, {}, 0 };
    row.medianMicros = medianMicros(
        5,
        [&] {
            HistoryData dialog;
            dialog.show();
            QElapsedTimer timer;
            timer.start();
            feedFromThread(&dialog, lineCount, [&](int i) {
                QMetaObject::invokeMethod(&dialog, "slotAddText", Qt::QueuedConnection, Q_ARG(QString, lines.at(i)));
            });
            // What did not fit into the turns so far comes in the next ones.
            const QTextDocument *document = dialog.findChild<QTextEdit *>(QStringLiteral("textEdit"))->document();
            const bool all = waitUntil([&] { return document->blockCount() > lineCount; }, 600000, 1);
            QCoreApplication::processEvents();
            return all ? timer.nsecsElapsed() / 1000.0 : -1.0;
        },
        &row.runs);
    if (row.medianMicros > 0)
        row.note = perLine(row.medianMicros, lineCount);
    table.add(row);
}

void benchMonitorView(BenchTable &table, int lineCount, MonitorMode mode)
{
    const char *button = mode == MonitorMode::Original ? "rdOriginal"
        : mode == MonitorMode::Hex                     ? "rdHex"
                                                       : "rdOriginalHex";
    QList<QByteArray> lines;
    for (int i = 0; i < lineCount; ++i)
        lines.append(recordLine(i).toLatin1() + "\r\n");
    const QString modeName = mode == MonitorMode::Original ? QString()
        : mode == MonitorMode::Hex                         ? QStringLiteral(", hex")
                                                           : QStringLiteral(", text + hex");
    BenchRow row { QStringLiteral("monitor dialog: lines shown") + modeName, QStringLiteral("in process"),
        QStringLiteral("%1 lines").arg(lineCount), -1, 0, {}, {}, 0 };
    // CPU time of the whole process as well: on a busy machine it says more
    // than the wall time.
    const double cpuBefore = processCpuSeconds();
    constexpr int kRuns = 5;
    row.medianMicros = medianMicros(
        kRuns,
        [&] {
            MonitorDialog dialog;
            dialog.findChild<QAbstractButton *>(QLatin1String(button))->setChecked(true);
            dialog.show();
            const double micros = feedFromThread(&dialog, lineCount, [&](int i) {
                const QByteArray line = lines.at(i);
                QMetaObject::invokeMethod(
                    &dialog, [&dialog, line] { dialog.slotDataRecv(line); }, Qt::QueuedConnection);
            });
            const int blocks = dialog.findChild<QPlainTextEdit *>(QStringLiteral("textEdit"))->document()->blockCount();
            return blocks < lineCount ? -1.0 : micros;
        },
        &row.runs);
    const double cpu = (processCpuSeconds() - cpuBefore) / kRuns;
    if (row.medianMicros > 0)
        row.note = perLine(row.medianMicros, lineCount) + QStringLiteral(", CPU %1 s per run").arg(cpu, 0, 'f', 2);
    table.add(row);
}

void benchMonitorResponsive(BenchTable &table)
{
    // Lines stream in at 2,000 per second (text + hex, the heaviest mode)
    // while a 10 ms timer stands for the user's input: how late it runs is
    // how late a click or key would be handled.
    constexpr int kLinesPerSecond = 2000;
    constexpr int kSeconds = 3;
    MonitorDialog dialog;
    dialog.findChild<QAbstractButton *>(QStringLiteral("rdOriginalHex"))->setChecked(true);
    dialog.show();
    std::vector<double> lateness;
    QElapsedTimer clock;
    clock.start();
    qint64 expected = 10;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        lateness.push_back(double(qMax<qint64>(0, now - expected)) * 1000.0);
        expected = now + 10;
    });
    probe.start(10);
    std::atomic<bool> fed { false };
    std::unique_ptr<QThread> feeder(QThread::create([&] {
        QElapsedTimer pace;
        pace.start();
        for (int i = 0; i < kLinesPerSecond * kSeconds; ++i) {
            while (pace.nsecsElapsed() < qint64(i) * 1000000000 / kLinesPerSecond)
                QThread::usleep(100);
            const QByteArray line = recordLine(i).toLatin1() + "\r\n";
            QMetaObject::invokeMethod(
                &dialog, [&dialog, line] { dialog.slotDataRecv(line); }, Qt::QueuedConnection);
        }
        fed = true;
    }));
    feeder->start();
    waitUntil([&] { return bool(fed); }, 600000, 5);
    feeder->wait();
    QCoreApplication::processEvents();
    probe.stop();
    std::sort(lateness.begin(), lateness.end());
    BenchRow row { QStringLiteral("monitor dialog: input delay while lines stream"), QStringLiteral("in process"),
        QStringLiteral("%1 lines/s").arg(kLinesPerSecond), -1, 0, {}, {}, 0 };
    if (!lateness.empty()) {
        row.medianMicros = lateness[lateness.size() / 2];
        row.note = QStringLiteral("text + hex; 99th percentile %1 ms, worst %2 ms")
                       .arg(lateness[lateness.size() * 99 / 100] / 1000.0, 0, 'f', 1)
                       .arg(lateness.back() / 1000.0, 0, 'f', 1);
    }
    table.add(row);
}

int coldStartChild()
{
    const qint64 started = qEnvironmentVariable("VEXA_BENCH_T0").toLongLong();
    int argc = 1;
    char name[] = "vexa-bench";
    char *argv[] = { name, nullptr };
    QApplication app(argc, argv);
    MainWindow window;
    struct FirstPaint : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !painted) {
                painted = true;
                std::printf("%lld\n", (monotonicNanos() - started) / 1000);
                std::fflush(stdout);
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            }
            return false;
        }
        qint64 started = 0;
        bool painted = false;
    } filter;
    filter.started = started;
    window.installEventFilter(&filter);
    window.show();
    return app.exec();
}

void benchColdStart(BenchTable &table, const QString &program)
{
    BenchRow row { QStringLiteral("cold start to first paint"), QStringLiteral("new process"),
        QStringLiteral("main window"), -1, 0, {}, {}, 0 };
    row.medianMicros = medianMicros(
        5,
        [&] {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("VEXA_BENCH_T0"), QString::number(monotonicNanos()));
            child.setProcessEnvironment(environment);
            child.start(program, { QStringLiteral("--cold-start") });
            if (!child.waitForFinished(30000))
                return -1.0;
            bool ok = false;
            const double micros = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
            return ok ? micros : -1.0;
        },
        &row.runs);
    row.note = QStringLiteral("process start, window built and painted (offscreen)");
    table.add(row);
}
