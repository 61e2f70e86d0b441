#include "tests/reliability/faultcell.h"
#include "tests/support/meterlink.h"

#include "app/mainwindow.h"
#include "base/settings.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "firmware/updatethread.h"
#include "history/historyrequest.h"
#include "history/readthread.h"
#include "items/configtree.h"
#include "items/refreshthread.h"
#include "items/writereview.h"
#include "monitor/monitorthread.h"
#include "sim/debugresponder.h"
#include "sim/firmwareresponder.h"
#include "sim/simrunner.h"
#include "tests/reliability/processprobe.h"
#include "tests/support/itemedit.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QStatusBar>
#include <QThread>

#include <memory>

FaultCell FaultCell::fromKey(const QString &key)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    return FaultCell { parts.value(0), parts.value(1), parts.value(2) };
}

QJsonObject CellReport::toJson() const
{
    return QJsonObject { { QStringLiteral("outcome"), outcome }, { QStringLiteral("detail"), detail },
        { QStringLiteral("elapsedMs"), elapsedMs }, { QStringLiteral("cpuMs"), cpuMs },
        { QStringLiteral("threadsLeft"), threadsLeft },
        { QStringLiteral("changedFiles"), QJsonArray::fromStringList(changedFiles) } };
}

CellReport CellReport::fromJson(const QJsonObject &object)
{
    CellReport report;
    report.outcome = object.value(QStringLiteral("outcome")).toString();
    report.detail = object.value(QStringLiteral("detail")).toString();
    report.elapsedMs = qint64(object.value(QStringLiteral("elapsedMs")).toDouble(-1));
    report.cpuMs = qint64(object.value(QStringLiteral("cpuMs")).toDouble(-1));
    report.threadsLeft = object.value(QStringLiteral("threadsLeft")).toInt();
    for (const QJsonValue &file : object.value(QStringLiteral("changedFiles")).toArray())
        report.changedFiles << file.toString();
    return report;
}

QStringList faultMatrixOperations()
{
    return { QStringLiteral("refresh"), QStringLiteral("write"), QStringLiteral("batch"), QStringLiteral("clock"),
        QStringLiteral("history"), QStringLiteral("monitor"), QStringLiteral("update") };
}

QStringList faultMatrixFaults()
{
    return { QStringLiteral("none"), QStringLiteral("silence"), QStringLiteral("drop"), QStringLiteral("bad-crc"),
        QStringLiteral("other-address"), QStringLiteral("other-port"), QStringLiteral("wrong-length"),
        QStringLiteral("split"), QStringLiteral("disappear"), QStringLiteral("late"), QStringLiteral("duplicate"),
        QStringLiteral("flood"), QStringLiteral("copy") };
}

QString faultRule(const FaultCell &cell, bool *applicable)
{
    *applicable = true;
    const QString &op = cell.operation;
    const QString &fault = cell.fault;
    const bool tildeOnly = op == QLatin1String("history") || op == QLatin1String("update");
    const bool oneExchange
        = op == QLatin1String("write") || op == QLatin1String("clock") || op == QLatin1String("history");

    if (fault == QLatin1String("none"))
        return QString();
    if (fault == QLatin1String("silence"))
        return QStringLiteral("silent,times=all");
    if (fault == QLatin1String("drop")) {
        if (oneExchange) {
            *applicable = false;
            return QString();
        }
        if (op == QLatin1String("refresh"))
            return QStringLiteral("silent,match=read,index=3");
        if (op == QLatin1String("batch"))
            return QStringLiteral("silent,after=2");
        if (op == QLatin1String("monitor"))
            return QStringLiteral("silent,after=1"); // the answer to switching the debug output off
        return QStringLiteral("silent,after=3"); // update: the answer to page 1
    }
    if (fault == QLatin1String("bad-crc"))
        return QStringLiteral("bad-crc,times=all");
    if (fault == QLatin1String("other-address") || fault == QLatin1String("wrong-length")) {
        *applicable = !tildeOnly;
        return QStringLiteral("%1,times=all").arg(fault);
    }
    if (fault == QLatin1String("other-port")) {
        *applicable = cell.line == QLatin1String("udp");
        return QStringLiteral("other-port,times=all");
    }
    if (fault == QLatin1String("split"))
        return QStringLiteral("split,times=all,parts=3,delay=20");
    if (fault == QLatin1String("disappear")) {
        if (op == QLatin1String("refresh"))
            return QStringLiteral("disappear,match=read,index=3");
        if (op == QLatin1String("batch"))
            return QStringLiteral("disappear,after=2");
        if (op == QLatin1String("history"))
            return QStringLiteral("disappear,value=3"); // three pieces of the answer, then gone
        if (op == QLatin1String("update"))
            return QStringLiteral("disappear,after=3");
        if (op == QLatin1String("monitor"))
            return QString(); // the meter vanishes while lines flow; see runMonitor
        return QStringLiteral("disappear");
    }
    if (fault == QLatin1String("late")) {
        // Item 3 answered after its time-out, while the meter is slow enough
        // that the late answer lands in the middle of a later exchange.
        *applicable = op == QLatin1String("refresh");
        return QStringLiteral("delay,match=read,index=3,delay=3300;delay,match=read,delay=40,times=all");
    }
    if (fault == QLatin1String("duplicate")) {
        // Every answer to item 3 / the identification arrives twice, back to back.
        *applicable = op == QLatin1String("refresh") || op == QLatin1String("update");
        return op == QLatin1String("update") ? QStringLiteral("duplicate,match=tilde,command=293F,delay=0")
                                             : QStringLiteral("duplicate,match=read,index=3,delay=0");
    }
    if (fault == QLatin1String("copy")) {
        // An answer once more in a later exchange. Refresh: item 3 answered
        // after its repeat and after the settle window that follows it.
        // Update: the erase answer again after the first page went out, and
        // that page lost on its way.
        *applicable = op == QLatin1String("refresh") || op == QLatin1String("update");
        return op == QLatin1String("update")
            ? QStringLiteral("duplicate,match=tilde,command=2FAC,delay=100;lost,match=tilde,command=2C01")
            : QStringLiteral("delay,match=read,index=3,delay=4300;delay,match=read,delay=40,times=all");
    }
    if (fault == QLatin1String("flood")) {
        // Debug output of about 1000 datagrams or writes a second, and no
        // answer to the switch; see runMonitor.
        *applicable = op == QLatin1String("monitor");
        return QStringLiteral("silent,match=write,index=255");
    }
    *applicable = false;
    return QString();
}

namespace {

constexpr int kBaudRate = 5; // demo item "波特率(...)": 9600
const QDate kToday = QDate::currentDate();

QByteArray updateImage()
{
    QByteArray image(2600, Qt::Uninitialized);
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7 + 3);
    return image;
}

// A failure's own text, and the line that says its outcome is unknown.
QString shownText(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.value(1).startsWith(QStringLiteral("结果未知")))
        return lines.at(0) + QLatin1Char(' ') + lines.at(1);
    return lines.at(0);
}

struct Outcome
{
    QStringList messages;
    QString detail;
};

// Every file of the folder with its digest.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Md5);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        files.insert(QDir(folder).relativeFilePath(path), hash.result());
    }
    return files;
}

void pointSettingsAt(const SimRunner &meter, bool udp)
{
    connectToMeter(meter, udp);
    appSettings()->sync();
}

// Waits for the thread while queued signals keep arriving.
bool waitWithEvents(QThread &thread, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!thread.isFinished() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        thread.wait(10);
    }
    QCoreApplication::processEvents();
    return thread.isFinished();
}

Outcome runRefresh()
{
    Outcome outcome;
    RefreshThread thread;
    thread.setLinkSettings(storedLinkSettings());
    int items = 0;
    QObject::connect(&thread, &RefreshThread::signalAddItems, [&items](int, const QStringList &) { ++items; });
    QObject::connect(&thread, &RefreshThread::showErrorMessage,
        [&outcome](const QString &, const QString &error, const QString &) { outcome.messages << error; });
    const QList<SimItem> expected = SimProfile::demo().items;
    int shifted = 0;
    QObject::connect(&thread, &RefreshThread::signalAddItems, [&](int index, const QStringList &fields) {
        shifted += index >= expected.size() || fields.value(0) != expected.at(index).name;
    });
    thread.start();
    if (!waitWithEvents(thread, 60000))
        outcome.messages << QStringLiteral("HUNG");
    outcome.detail = QStringLiteral("%1 items").arg(items);
    if (outcome.messages.isEmpty() && items != expected.size())
        outcome.messages << QStringLiteral("incomplete list");
    if (shifted > 0)
        outcome.messages << QStringLiteral("%1 rows show another item").arg(shifted);
    return outcome;
}

// Rows as a refresh would have left them, without talking to the meter.
void fillRows(MainWindow &window)
{
    const QList<SimItem> items = SimProfile::demo().items;
    for (int index = 4; index <= 8; ++index)
        window.slotAddItems(index, { items.at(index).name, items.at(index).value });
}

QTreeWidgetItem *rowFor(MainWindow &window, int index)
{
    ConfigTree *tree = window.configTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->data(0, Qt::UserRole).toInt() == index)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

Outcome runWindowOperation(const QString &op, SimRunner &meter, MainWindow &window)
{
    Outcome outcome;
    ModalBoxCatcher catcher;
    if (op == QLatin1String("write")) {
        editItemRow(window, rowFor(window, kBaudRate), QStringLiteral("19200"));
        const QString value = meter.items().at(kBaudRate).value;
        outcome.detail = QStringLiteral("meter holds %1").arg(value);
        if (catcher.texts().isEmpty() && window.statusBar()->currentMessage() != QStringLiteral("写入配置成功"))
            outcome.messages << window.statusBar()->currentMessage();
        if (catcher.texts().isEmpty() && value != QLatin1String("19200"))
            outcome.messages << QStringLiteral("not written");
    } else if (op == QLatin1String("clock")) {
        // As Sync Time does it: the window opens the channel itself.
        window.slotSyncTime();
        outcome.detail = QStringLiteral("%1 clock set").arg(meter.state().clockSetCount);
    } else {
        // As Write does it (the review is off): the batch runs on a worker
        // with a channel of its own.
        window.slotWriteItems();
        outcome.detail = QStringLiteral("%1 writes").arg(meter.receivedRequests().size());
        // With the backup before it, the message goes on to say where that went.
        const bool ok = window.statusBar()->currentMessage().startsWith(QStringLiteral("写入配置成功"));
        if (ok && !catcher.texts().isEmpty())
            outcome.messages << QStringLiteral("reported success");
    }
    for (const QString &text : catcher.texts()) {
        // The failure's own text; a second line names the target.
        if (text != QStringLiteral("同步时间成功"))
            outcome.messages << shownText(text);
    }
    return outcome;
}

Outcome runHistory()
{
    Outcome outcome;
    ReadThread thread;
    thread.setLinkSettings(storedLinkSettings());
    int lines = 0;
    // One signal may carry several lines.
    QObject::connect(&thread, &ReadThread::signalAddText,
        [&lines](const QString &text) { lines += int(text.count(QLatin1Char('\n'))); });
    QObject::connect(&thread, &ReadThread::signalShowError,
        [&outcome](const QString &, const QString &error) { outcome.messages << error; });
    thread.startQuery(buildHistoryRequest(kToday.addDays(-2), kToday));
    if (!waitWithEvents(thread, 60000))
        outcome.messages << QStringLiteral("HUNG");
    outcome.detail = QStringLiteral("%1 lines").arg(lines);
    if (outcome.messages.isEmpty() && lines < 50)
        outcome.messages << QStringLiteral("cut short (%1 lines)").arg(lines);
    return outcome;
}

Outcome runMonitor(const FaultCell &cell, SimRunner &meter)
{
    Outcome outcome;
    MonitorThread thread;
    thread.setLinkSettings(storedLinkSettings());
    thread.setDebug(true);
    QMutex mutex;
    int lines = 0;
    QObject::connect(
        &thread, &MonitorThread::signalDataRecv, &thread,
        [&](const QByteArray &) {
            QMutexLocker locker(&mutex);
            ++lines;
        },
        Qt::DirectConnection);
    QObject::connect(&thread, &MonitorThread::signalShowError,
        [&outcome](const QString &, const QString &error) { outcome.messages << error; });
    const auto lineCount = [&] {
        QMutexLocker locker(&mutex);
        return lines;
    };
    if (cell.fault == QLatin1String("flood"))
        meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->setIntervalMs(1); });
    thread.start();
    const bool vanish = cell.fault == QLatin1String("disappear");
    QElapsedTimer timer;
    timer.start();
    bool vanished = false;
    // Listen until a few lines came (or the run ended by itself), as a user would.
    while (!thread.isFinished() && timer.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
        if (vanish && !vanished && lineCount() >= 1) {
            meter.disappear();
            vanished = true;
            timer.restart();
        }
        if (lineCount() >= 2 && !vanish)
            break;
        if (vanished && timer.elapsed() > 1500)
            break;
    }
    QElapsedTimer stopping;
    stopping.start();
    thread.stop();
    const qint64 stopMs = stopping.elapsed();
    QCoreApplication::processEvents();
    outcome.detail = QStringLiteral("%1 lines, stop %2 ms").arg(lineCount()).arg(stopMs);
    if (outcome.messages.isEmpty() && lineCount() == 0)
        outcome.messages << QStringLiteral("no lines");
    return outcome;
}

Outcome runUpdate(SimRunner &meter, const QString &folder)
{
    Outcome outcome;
    const QString path = folder + QStringLiteral("/VX-200_V1.03.vexabin");
    DEncryptInfo info;
    info.setFilePath(path);
    {
        DDbServer server(QString::fromLatin1(kPackageConnectionName));
        const QString error = server.parseFile(info);
        if (!error.isEmpty()) {
            outcome.messages << error;
            return outcome;
        }
    }
    UpdateThread thread;
    thread.setLinkSettings(storedLinkSettings());
    int progress = 0;
    bool succeeded = false;
    QObject::connect(&thread, &UpdateThread::signalUpdateProgress, [&progress](int) { ++progress; });
    QObject::connect(&thread, &UpdateThread::signalUpdateSucceed, [&succeeded] { succeeded = true; });
    QObject::connect(&thread, &UpdateThread::signalShowErrorMessage,
        [&outcome](const QString &error) { outcome.messages << error; });
    thread.setInfo(info);
    thread.start();
    if (!waitWithEvents(thread, 90000))
        outcome.messages << QStringLiteral("HUNG");
    const int pages = SimFirmwareRecord::fromState(meter.state()).pageNumbers.size();
    outcome.detail = QStringLiteral("%1 progress, %2 pages").arg(progress).arg(pages);
    if (outcome.messages.isEmpty() && !succeeded)
        outcome.messages << QStringLiteral("no result");
    if (succeeded && !outcome.messages.isEmpty())
        outcome.messages << QStringLiteral("success and error");
    if (succeeded && SimFirmwareRecord::fromState(meter.state()).image != updateImage())
        outcome.messages << QStringLiteral("success without the whole image");
    return outcome;
}

} // namespace

CellReport runFaultCell(const FaultCell &cell)
{
    CellReport report;
    TempWorkDir dir;
    const bool udp = cell.line == QLatin1String("udp");
    SimTransportOptions options;
    options.udp = udp;
    options.pty = !udp;
    SimRunner meter(SimProfile::demo(), options);
    if (!meter.isStarted()) {
        report.outcome = QStringLiteral("meter did not start");
        return report;
    }
    pointSettingsAt(meter, udp);
    if (cell.operation == QLatin1String("update")) {
        writePackageFile(dir.filePath(QStringLiteral("VX-200_V1.03.vexabin")), QStringLiteral("Vexa 流量计"),
            QStringLiteral("V1.03"), QStringLiteral("VX-200"), updateImage());
    }
    bool applicable = true;
    const QString rule = faultRule(cell, &applicable);
    for (const QString &part : rule.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        meter.addFault(part);
    const QString &op = cell.operation;
    const bool windowOperation
        = op == QLatin1String("write") || op == QLatin1String("batch") || op == QLatin1String("clock");
    // The window stores its language when it is made: before the snapshot.
    std::unique_ptr<MainWindow> window;
    if (windowOperation) {
        window.reset(new MainWindow);
        fillRows(*window);
    }
    // The write path itself: neither the review nor the backup's read first.
    if (op == QLatin1String("batch")) {
        writeReviewBeforeWrite(*appSettings(), false);
        writeBackupBeforeWrite(*appSettings(), false);
    }
    appSettings()->sync();

    const QMap<QString, QByteArray> before = snapshot(dir.path());
    const int threadsBefore = processThreadCount();
    const qint64 cpuBefore = processCpuMs();
    QElapsedTimer timer;
    timer.start();

    Outcome outcome;
    if (op == QLatin1String("refresh"))
        outcome = runRefresh();
    else if (windowOperation)
        outcome = runWindowOperation(op, meter, *window);
    else if (op == QLatin1String("history"))
        outcome = runHistory();
    else if (op == QLatin1String("monitor"))
        outcome = runMonitor(cell, meter);
    else if (op == QLatin1String("update"))
        outcome = runUpdate(meter, dir.path());

    report.elapsedMs = timer.elapsed();
    report.cpuMs = processCpuMs() - cpuBefore;
    // Worker threads may take a moment to be reaped after wait() returned.
    report.threadsLeft = waitForThreadCount(threadsBefore, 2000) - threadsBefore;
    appSettings()->sync();
    QMap<QString, QByteArray> after = snapshot(dir.path());
    // The write journal grows with every write by design; it is checked on its own.
    after.remove(QStringLiteral("journal.csv"));
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            report.changedFiles << it.key();
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            report.changedFiles << it.key();
    }
    report.outcome = outcome.messages.isEmpty() ? QStringLiteral("ok") : outcome.messages.join(QStringLiteral(" | "));
    report.detail = outcome.detail;
    window.reset();
    singleton<Config>::release();
    return report;
}
