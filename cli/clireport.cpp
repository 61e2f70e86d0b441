#include "cli/clireport.h"

#include "cli/cliapp.h"
#include "cli/clifailuretext.h"
#include "cli/clihistory.h"
#include "cli/vexacli.h"
#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "history/readthread.h"
#include "history/servicereport.h"
#include "items/identificationrows.h"
#include "items/itemsession.h"
#include "items/knownvalues.h"
#include "link/devicechannel.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

constexpr int kRenderTimeoutMs = 120000;
const QString kRenderer = QStringLiteral("vexa-history-render");

QDate dayOf(const QString &text)
{
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString rendererPath()
{
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString &path :
        { dir + QLatin1Char('/') + kRenderer, dir + QStringLiteral("/../libexec/vexa-assistant/") + kRenderer }) {
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

// The items the meter holds now: all of them, or only its identification rows.
LinkFailure readItems(const CliTarget &target, const CliOptions &options, bool all, KnownMeterValues *values)
{
    DeviceChannel channel;
    if (!channel.open(target.link))
        return channel.openFailure();
    ItemSession session(channel);
    session.setAnswerTimeoutMs(options.timeoutMs);
    if (all) {
        const ItemListResult list
            = session.readList([values](const ItemRecord &record) { values->noteRead(QString(), record); });
        return list.failure;
    }
    for (int index = 0; index < 2; ++index) {
        const ItemReadResult read = session.readItem(index);
        if (read.failure.failed())
            return read.failure;
        if (!read.endOfList)
            values->noteRead(QString(), read.record);
    }
    return {};
}

} // namespace

QString checkRenderFile(const QString &path, bool pdfOnly)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf") || (!pdfOnly && suffix == QLatin1String("png")))
        return {};
    return pdfOnly ? VexaCli::tr("报告文件应以.pdf结尾: %1").arg(path)
                   : VexaCli::tr("图表文件应以.png或.pdf结尾: %1").arg(path);
}

QString renderWithHelper(const QString &kind, const QString &path, const ServiceReport &report)
{
    const QString program = rendererPath();
    if (program.isEmpty())
        return VexaCli::tr("找不到绘图程序%1").arg(kRenderer);
    const QJsonObject job { { QStringLiteral("kind"), kind }, { QStringLiteral("path"), path },
        { QStringLiteral("language"), installedCliLanguage() }, { QStringLiteral("report"), report.toJson() } };
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    helper.setProcessEnvironment(environment);
    helper.start(program, QStringList());
    if (!helper.waitForStarted(kRenderTimeoutMs))
        return VexaCli::tr("找不到绘图程序%1").arg(kRenderer);
    helper.write(QJsonDocument(job).toJson(QJsonDocument::Compact));
    helper.closeWriteChannel();
    if (!helper.waitForFinished(kRenderTimeoutMs)) {
        helper.kill();
        helper.waitForFinished(1000);
        return VexaCli::tr("绘图程序没有结束");
    }
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0) {
        const QString message = QString::fromUtf8(helper.readAllStandardError()).trimmed();
        return message.isEmpty() ? VexaCli::tr("绘图程序失败") : message;
    }
    return {};
}

void writeHistoryChart(const CliTarget &target, const CliOptions &options, const QString &text, MeterReport *report)
{
    KnownMeterValues values;
    const LinkFailure failure = readItems(target, options, false, &values);
    if (failure.failed()) {
        report->exit = CliLinkError;
        report->error = cliFailureText(failure, options.fleet);
        return;
    }
    const ServiceReport chart = collectServiceReport(
        values, target.link, dayOf(options.arguments.at(0)), dayOf(options.arguments.at(1)), historyTextLines(text));
    const QString renderFailure = renderWithHelper(QStringLiteral("chart"), options.chart, chart);
    if (!renderFailure.isEmpty()) {
        report->exit = CliFileError;
        report->error = renderFailure;
        return;
    }
    report->json.insert(QStringLiteral("chart"), options.chart);
}

void runReport(const CliTarget &target, const CliOptions &options, MeterReport *report)
{
    KnownMeterValues values;
    LinkFailure failure = readItems(target, options, true, &values);
    QString text;
    bool capped = false;
    if (!failure.failed()) {
        ReadThread reader;
        reader.setLinkSettings(target.link);
        // Collected on the reader's thread; read here only after wait().
        // The same cap as the history command: a meter that never stops must not fill the memory.
        QObject::connect(
            &reader, &ReadThread::signalAddText, &reader,
            [&text, &capped, &reader](const QString &lines) {
                if (capped)
                    return;
                if (qint64(text.size() + lines.size()) * 2 > kMaxHistoryAnswerBytes) {
                    capped = true;
                    reader.stop();
                    return;
                }
                text += lines;
            },
            Qt::DirectConnection);
        reader.startQuery(buildHistoryRequest(dayOf(options.arguments.at(0)), dayOf(options.arguments.at(1))));
        reader.wait();
        failure = reader.failure();
    }
    QString error = failure.failed() ? cliFailureText(failure, options.fleet) : QString();
    if (error.isEmpty() && capped)
        error = QCoreApplication::translate("VexaCli", "历史数据超过%1 MiB的上限,已停止读取;只写出了前面的行")
                    .arg(kMaxHistoryAnswerBytes / (1024 * 1024));
    if (!error.isEmpty()) {
        report->exit = CliLinkError;
        report->error = error;
        return;
    }
    const ServiceReport content = collectServiceReport(
        values, target.link, dayOf(options.arguments.at(0)), dayOf(options.arguments.at(1)), historyTextLines(text));
    const QString renderFailure = renderWithHelper(QStringLiteral("report"), options.output, content);
    if (!renderFailure.isEmpty()) {
        report->exit = CliFileError;
        report->error = renderFailure;
        return;
    }
    report->json.insert(QStringLiteral("file"), options.output);
    if (!options.json)
        report->out = VexaCli::tr("服务报告已写入%1").arg(options.output) + QLatin1Char('\n');
}
