#include "history/servicereportwriter.h"

#include "base/outputfile.h"
#include "history/historychart.h"
#include "history/historychartexport.h"
#include "history/servicereport.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace {

// The chart shares the last page when this much of it is left.
constexpr double kChartShare = 0.45;

} // namespace

QString writeServiceReport(const QString &path, const ServiceReport &report)
{
    const auto failed = [&path](const QString &reason) {
        return QCoreApplication::translate("HistoryData", "打开文件失败: %1").arg(path) + QLatin1Char('\n') + reason;
    };
    // Renamed over the target when done: only a regular file may be there.
    const QString refused = OutputFile::checkTarget(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
    if (!refused.isEmpty())
        return failed(refused);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    QPdfWriter writer(&file);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer.setResolution(300);
    writer.setTitle(ServiceReport::tr("服务报告"));
    QPainter painter(&writer);
    const double width = writer.width();
    const double height = writer.height();

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont font = document.defaultFont();
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(serviceReportHtml(report));
    document.setPageSize(QSizeF(width, height));
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * height);
        document.drawContents(&painter, QRectF(0, page * height, width, height));
        painter.restore();
    }

    HistoryChart chart;
    const QStringList quantities = chartHistoryLines(chart, report.historyLines, report.rangeWrites);
    const QStringList title {
        historyChartTitle(QString(), QString(), QString(), report.from, report.to, quantities).last()
    };
    double top = document.size().height() - (pages - 1) * height;
    if (height - top < kChartShare * height) {
        writer.newPage();
        top = 0;
    }
    paintHistoryChart(painter, QRectF(0, top, width, qMin(height - top, width * 0.75)), chart, title);
    painter.end();
    if (!file.commit())
        return failed(file.errorString());
    return {};
}
