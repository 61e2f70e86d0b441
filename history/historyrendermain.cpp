// vexa-history-render: draws a history chart or a service report for
// vexa-cli, which is built without widgets. Reads one job as JSON on stdin:
// { "kind": "chart" | "report", "path": FILE, "language": CODE, "report": {...} }
// (the report as ServiceReport::toJson writes it). Exit status 0 when the
// file is written; otherwise the message on stderr and status 4.
#include "base/translationlookup.h"
#include "history/historychart.h"
#include "history/historychartexport.h"
#include "history/servicereport.h"
#include "history/servicereportwriter.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTranslator>

#include <cstdio>

namespace {

constexpr int kFileError = 4;

void loadTranslation(const QString &code)
{
    if (code.isEmpty() || code == QLatin1String("zh_CH"))
        return;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (loadProgramTranslation(*translator, code))
        QCoreApplication::installTranslator(translator);
}

QString writeChart(const QString &path, const ServiceReport &report)
{
    HistoryChart chart;
    const QStringList quantities = chartHistoryLines(chart, report.historyLines, report.rangeWrites);
    return exportHistoryChart(chart, path,
        historyChartTitle(report.model, report.deviceName, report.connection, report.from, report.to, quantities));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return kFileError;
    const QJsonObject job = QJsonDocument::fromJson(input.readAll()).object();
    loadTranslation(job.value(QStringLiteral("language")).toString());
    const QString path = job.value(QStringLiteral("path")).toString();
    const ServiceReport report = ServiceReport::fromJson(job.value(QStringLiteral("report")).toObject());
    const QString kind = job.value(QStringLiteral("kind")).toString();
    QString error;
    if (path.isEmpty() || (kind != QLatin1String("chart") && kind != QLatin1String("report")))
        error = QStringLiteral("vexa-history-render: bad job");
    else if (kind == QLatin1String("chart"))
        error = writeChart(path, report);
    else
        error = writeServiceReport(path, report);
    if (error.isEmpty())
        return 0;
    const QByteArray bytes = error.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return kFileError;
}
