#include "cli/clihistory.h"

#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "history/readthread.h"

#include <QCoreApplication>
#include <QDate>

namespace {

QDate dayOf(const QString &text)
{
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString exportError(HistoryExportResult result, const QString &path)
{
    if (result == HistoryExportResult::OpenFailed)
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path);
    return QCoreApplication::translate("HistoryData", "导出数据失败，数据格式错误");
}

} // namespace

QString checkHistoryDates(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return QCoreApplication::translate("VexaCli", "需要起止日期 FROM TO (yyyy-MM-dd)");
    for (const QString &text : arguments) {
        if (!dayOf(text).isValid())
            return QCoreApplication::translate("VexaCli", "无效的日期: %1").arg(text);
    }
    if (dayOf(arguments.at(0)) > dayOf(arguments.at(1)))
        return QCoreApplication::translate("HistoryData", "起始日期应该小于或等于结束日期");
    return {};
}

void runHistory(const CliTarget &target, const CliOptions &options, MeterReport *report)
{
    ReadThread reader;
    reader.setLinkSettings(target.link);
    // Collected on the reader's thread; read here only after wait().
    QString text;
    QString error;
    QObject::connect(
        &reader, &ReadThread::signalAddText, &reader, [&text](const QString &line) { text += line; },
        Qt::DirectConnection);
    QObject::connect(
        &reader, &ReadThread::signalShowError, &reader,
        [&error](const QString &, const QString &message) { error = message; }, Qt::DirectConnection);
    reader.startQuery(buildHistoryRequest(dayOf(options.arguments.at(0)), dayOf(options.arguments.at(1))));
    reader.wait();

    report->json.insert(QStringLiteral("lines"), text);
    if (!error.isEmpty()) {
        report->exit = CliLinkError;
        report->error = error;
        return;
    }
    if (options.output.isEmpty() && options.pdf.isEmpty() && !options.json)
        report->out = text;
    if (!options.output.isEmpty()) {
        const HistoryExportResult result = exportHistoryCsv(options.output, text);
        if (result != HistoryExportResult::Ok) {
            report->exit = CliFileError;
            report->error = exportError(result, options.output);
            return;
        }
    }
    if (!options.pdf.isEmpty()) {
        const HistoryExportResult result = exportHistoryPdf(options.pdf, historyTextLines(text));
        if (result != HistoryExportResult::Ok) {
            report->exit = CliFileError;
            report->error = exportError(result, options.pdf);
        }
    }
}
