#include "cli/cliservice.h"

#include "cli/clifailuretext.h"
#include "cli/clioutput.h"
#include "cli/cliprogress.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
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

void runFlash(const CliTarget &target, const CliOptions &options, CliProgress *progress, MeterReport *report)
{
    DEncryptInfo info;
    info.setFilePath(options.arguments.value(0));
    QString error;
    {
        DDbServer server(QString::fromLatin1(kPackageConnectionName));
        error = server.parseFile(info);
    }
    if (error.isEmpty())
        error = UpdateSession::packageFailure(info).briefText();
    if (!error.isEmpty()) {
        report->exit = CliFileError;
        report->error = error;
        return;
    }
    const QString pages = QCoreApplication::translate("VexaCli", "固件");
    UpdateSteps steps;
    steps.progress = [&](int percent) {
        if (progress)
            progress->step(target.name, pages, qMin(percent, 100), 100);
    };
    DeviceChannel channel;
    const LinkFailure failure = UpdateSession(channel).update(target.link, info, steps);
    if (progress)
        progress->clear();
    if (failure.failed()) {
        report->exit = cliExitStatus(failure);
        report->error = cliFailureText(failure, options.fleet);
        return;
    }
    report->out = QCoreApplication::translate("UpdateDialog", "固件更新成功!") + QLatin1Char('\n');
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
