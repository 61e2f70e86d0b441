#include "cli/cliservice.h"

#include "cli/clifailuretext.h"
#include "cli/clioutput.h"
#include "cli/cliprogress.h"
#include "firmware/dencryptinfo.h"
#include "firmware/firmwareupdate.h"
#include "firmware/updatesession.h"
#include "link/devicechannel.h"
#include "link/dsearchdevicethread.h"
#include "base/metertext.h"
#include "link/frame.h"
#include "monitor/monitorline.h"
#include "monitor/monitorthread.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QThread>

#include <atomic>

namespace {

// Waits up to `seconds` while the worker runs, in short steps; a failed
// stdout ends the wait too.
void runFor(QThread &worker, int seconds, const std::atomic<bool> *outputFailed = nullptr)
{
    QDeadlineTimer deadline(qint64(seconds) * 1000);
    while (!worker.isFinished() && !deadline.hasExpired() && !(outputFailed && *outputFailed))
        worker.wait(QDeadlineTimer(qMin<qint64>(100, deadline.remainingTime())));
}

} // namespace

void runFlash(
    const CliTarget &target, const CliOptions &options, Journal &journal, CliProgress *progress, MeterReport *report)
{
    const DEncryptInfo &info = options.package;
    const QString pages = QCoreApplication::translate("VexaCli", "固件");
    UpdateSteps steps;
    steps.progress = [&](int percent) {
        // A fleet shows how many meters are done instead.
        if (progress && !options.fleet)
            progress->step(target.name, pages, qMin(percent, 100), 100);
    };
    // Asked to skip other models, the meter is only identified first: one
    // that is skipped had no update started and gets no journal line.
    FirmwareUpdateResult update
        = options.skipModelMismatch ? checkFirmwareModel(target.link, info) : FirmwareUpdateResult();
    if (update.modelMismatch) {
        report->outcome = FleetOutcome::Skipped;
        // The failure's lines after the first name both models.
        const QString models
            = update.failure.message.section(QLatin1Char('\n'), 1).replace(QLatin1Char('\n'), QLatin1String("; "));
        report->error = QCoreApplication::translate("VexaCli", "型号不同,已跳过: %1").arg(models);
        report->json.insert(QStringLiteral("skipped"), true);
        report->json.insert(QStringLiteral("reason"), report->error);
        return;
    }
    if (!update.failure.failed())
        update = runFirmwareUpdate(target.link, info, journal, steps);
    report->json.insert(QStringLiteral("answered_after"), update.answeredAfter);
    if (progress) {
        if (!options.fleet)
            progress->clear();
        if (!update.journalError.isEmpty())
            progress->warnOnce(update.journalError);
    }
    const LinkFailure &failure = update.failure;
    if (failure.failed()) {
        report->exit = cliExitStatus(failure);
        report->error = cliFailureText(failure, options.fleet);
        // Erased and not written whole: say what the meter needs now.
        if (update.imageIncomplete())
            report->error += QLatin1Char('\n') + firmwareNeedsNewUpdateText();
        return;
    }
    report->out = QCoreApplication::translate("UpdateDialog", "固件更新成功!") + QLatin1Char('\n')
        + update.afterUpdateText() + QLatin1Char('\n');
}

void runMonitor(const CliTarget &target, const CliOptions &options, MeterReport *report)
{
    MonitorThread monitor;
    monitor.setLinkSettings(target.link);
    monitor.setDebug(!options.noDebug);
    monitor.setReconnect(options.reconnect);
    const MonitorMode mode = options.both ? MonitorMode::OriginalHex
        : options.hex                     ? MonitorMode::Hex
                                          : MonitorMode::Original;
    std::atomic<bool> outputFailed { false };
    // The monitor's own lines (sent bytes, the port going and coming back)
    // go out among the meter's, as in the window's recording.
    const auto note = [&](const QString &text, const char *event) {
        const bool written = options.json
            ? writeOutBytes(
                QJsonDocument(
                    QJsonObject { { QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs) },
                        { QStringLiteral("event"), QLatin1String(event) }, { QStringLiteral("text"), text.trimmed() } })
                    .toJson(QJsonDocument::Compact)
                + '\n')
            : writeOut(text);
        if (!written)
            outputFailed = true;
    };
    MonitorLineFormat sentFormat;
    sentFormat.mode = mode;
    sentFormat.maxShownBytes = -1;
    QString sendFailure;
    if (!options.send.isEmpty()) {
        QObject::connect(
            &monitor, &MonitorThread::signalConnected, &monitor, [&] { monitor.send(options.send); },
            Qt::DirectConnection);
    }
    QObject::connect(
        &monitor, &MonitorThread::signalSent, &monitor,
        [&](const QByteArray &bytes) {
            note(escapedControlCharacters(monitorSentLine(bytes, sentFormat, QDateTime::currentDateTime()), true),
                "sent");
        },
        Qt::DirectConnection);
    QObject::connect(
        &monitor, &MonitorThread::signalSendRefused, &monitor,
        [&](const QString &reason) {
            sendFailure = reason;
            monitor.stop();
        },
        Qt::DirectConnection);
    QObject::connect(
        &monitor, &MonitorThread::signalLinkLost, &monitor,
        [&] { note(monitorLinkMarker(true, QDateTime::currentDateTime()), "lost"); }, Qt::DirectConnection);
    QObject::connect(
        &monitor, &MonitorThread::signalLinkBack, &monitor,
        [&] { note(monitorLinkMarker(false, QDateTime::currentDateTime()), "back"); }, Qt::DirectConnection);
    // Lines go out as they come, so a pipe sees them at once.
    QObject::connect(
        &monitor, &MonitorThread::signalDataRecv, &monitor,
        [&](const QByteArray &line) {
            const QDateTime now = QDateTime::currentDateTime();
            bool written = false;
            if (options.json) {
                written = writeOutBytes(
                    QJsonDocument(QJsonObject { { QStringLiteral("time"), now.toString(Qt::ISODateWithMs) },
                                      { QStringLiteral("line"), decodeGb2312(line) } })
                        .toJson(QJsonDocument::Compact)
                    + '\n');
            } else {
                // A piece cut at the line cap has no line end of its own.
                QString text = formatMonitorLine(line, mode, now);
                if (!text.endsWith(QLatin1Char('\n')))
                    text += QLatin1Char('\n');
                written = writeOut(text);
            }
            if (!written)
                outputFailed = true;
        },
        Qt::DirectConnection);
    monitor.start();
    runFor(monitor, options.seconds, &outputFailed);
    monitor.stop();
    const LinkFailure failure = monitor.failure();
    if (failure.failed()) {
        report->exit = cliExitStatus(failure);
        report->error = cliFailureText(failure, options.fleet);
    } else if (!sendFailure.isEmpty()) {
        report->exit = CliLinkError;
        report->error = sendFailure;
    }
}

void runSearch(const CliOptions &options, MeterReport *report)
{
    DSearchDeviceThread search(nullptr);
    QJsonArray found;
    QMutex mutex;
    QObject::connect(
        &search, &DSearchDeviceThread::signalInsertDevice, &search,
        [&](const QString &content, const QHostAddress &host, quint16 port) {
            QMutexLocker locker(&mutex);
            const QString address = DSearchDeviceThread::senderText(host);
            report->out += QStringLiteral("%1:%2  %3\n").arg(address).arg(port).arg(shownValue(content.trimmed()));
            found << QJsonObject { { QStringLiteral("host"), address }, { QStringLiteral("port"), port },
                { QStringLiteral("answer"), content.trimmed() } };
        },
        Qt::DirectConnection);
    search.startSearch();
    runFor(search, options.seconds);
    search.requestStop();
    search.wait();
    report->json.insert(QStringLiteral("found"), found);
}
