#include "cli/clihistory.h"

#include "base/outputfile.h"
#include "cli/clifailuretext.h"
#include "cli/clioutput.h"
#include "cli/vexacli.h"
#include "history/historycsvwriter.h"
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

QString fileError(const char *text, const QString &path, const QString &reason)
{
    const QString message = QCoreApplication::translate("MainWindow", text).arg(path);
    return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason;
}

QString exportError(HistoryExportResult result, const QString &path, const QString &reason)
{
    if (result == HistoryExportResult::OpenFailed)
        return fileError(QT_TRANSLATE_NOOP("MainWindow", "打开文件失败: %1"), path, reason);
    if (result == HistoryExportResult::WriteFailed)
        return fileError(QT_TRANSLATE_NOOP("MainWindow", "写入文件失败: %1"), path, reason);
    return QCoreApplication::translate("HistoryData", "导出数据失败，数据格式错误");
}

// Where the lines go while they arrive, on the reader's thread. Everything
// stops at the first failure or at the cap.
struct HistorySink
{
    HistorySink(const CliOptions &options, ReadThread &reader)
        : options(options)
        , reader(reader)
    {
    }

    const CliOptions &options;
    ReadThread &reader;
    HistoryCsvWriter csv;
    QString kept; // for the PDF, the chart and the JSON line
    qint64 taken = 0;
    bool capped = false;
    bool stopped = false;
    QString fileFailure;

    bool toStdout() const { return options.output.isEmpty() && options.pdf.isEmpty() && !options.json; }
    bool keeps() const { return !options.pdf.isEmpty() || !options.chart.isEmpty() || options.json; }

    // The file is opened with the first line, so an answer that never comes
    // leaves an earlier file of that name as it was.
    bool openCsv()
    {
        if (options.output.isEmpty() || csv.isOpen())
            return true;
        if (!csv.open(options.output)) {
            fileFailure
                = fileError(QT_TRANSLATE_NOOP("MainWindow", "打开文件失败: %1"), options.output, csv.errorText());
            return false;
        }
        return true;
    }

    void stop()
    {
        stopped = true;
        reader.stop();
    }

    void take(const QString &line)
    {
        if (stopped)
            return;
        const qint64 size = line.toUtf8().size();
        if (taken + size > kMaxHistoryAnswerBytes) {
            capped = true;
            stop();
            return;
        }
        taken += size;
        // A failed stdout is reported once, at the end of the run.
        if (toStdout() && !writeOut(line)) {
            stop();
            return;
        }
        if (!openCsv()) {
            stop();
            return;
        }
        if (csv.isOpen() && !csv.write(line)) {
            fileFailure
                = fileError(QT_TRANSLATE_NOOP("MainWindow", "写入文件失败: %1"), options.output, csv.errorText());
            stop();
            return;
        }
        if (keeps())
            kept += line;
    }
};

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
    // A target that is no regular file is refused before the meter is asked.
    for (const QString &path : { options.output, options.pdf }) {
        const QString refused = path.isEmpty()
            ? QString()
            : OutputFile::checkTarget(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
        if (!refused.isEmpty()) {
            report->exit = CliFileError;
            report->error = fileError(QT_TRANSLATE_NOOP("MainWindow", "打开文件失败: %1"), path, refused);
            return;
        }
    }

    ReadThread reader;
    reader.setLinkSettings(target.link);
    HistorySink sink(options, reader);
    QObject::connect(
        &reader, &ReadThread::signalAddText, &reader, [&sink](const QString &line) { sink.take(line); },
        Qt::DirectConnection);
    reader.startQuery(buildHistoryRequest(dayOf(options.arguments.at(0)), dayOf(options.arguments.at(1))));
    reader.wait();
    const QString error = reader.failure().failed() ? cliFailureText(reader.failure(), options.fleet) : QString();

    report->json.insert(QStringLiteral("lines"), sink.kept);
    if (!sink.fileFailure.isEmpty()) {
        report->exit = CliFileError;
        report->error = sink.fileFailure;
        return;
    }
    if (sink.stopped && !sink.capped) // stdout failed; the run says so at its end
        return;
    if (!error.isEmpty()) {
        report->exit = CliLinkError;
        report->error = error;
        return;
    }
    if (sink.capped) {
        report->exit = CliLinkError;
        report->error = QCoreApplication::translate("VexaCli", "历史数据超过%1 MiB的上限,已停止读取;只写出了前面的行")
                            .arg(kMaxHistoryAnswerBytes / (1024 * 1024));
    }
    if (!sink.openCsv() || !sink.csv.close()) {
        report->exit = CliFileError;
        report->error = sink.fileFailure.isEmpty()
            ? fileError(QT_TRANSLATE_NOOP("MainWindow", "写入文件失败: %1"), options.output, sink.csv.errorText())
            : sink.fileFailure;
        return;
    }
    // A cut answer makes no table.
    if (!options.pdf.isEmpty() && !sink.capped) {
        QString reason;
        const HistoryExportResult result = exportHistoryPdf(options.pdf, historyTextLines(sink.kept), {}, {}, &reason);
        if (result != HistoryExportResult::Ok) {
            report->exit = CliFileError;
            report->error = exportError(result, options.pdf, reason);
        }
    }
}
