#include "history/historychartexport.h"

#include "base/outputfile.h"
#include "history/historychart.h"
#include "history/historyreadings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int kImageWidth = 1600;
constexpr int kImageHeight = 1000;

QString openError(const QString &path, const QString &reason = QString())
{
    const QString text = QCoreApplication::translate("HistoryData", "打开文件失败: %1").arg(path);
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

} // namespace

QStringList chartHistoryLines(HistoryChart &chart, const QStringList &lines, const QVector<JournalEntry> &writes)
{
    HistoryReadings readings;
    for (const QString &line : lines)
        readings.addLine(line);
    // The plots need a size to lay out; rendering gives them the page's.
    chart.resize(1200, 800);
    chart.setData(readings.sortedSeries(), historyMarks(writes));
    QStringList quantities;
    for (const HistorySeries &series : chart.series())
        quantities << series.label();
    return quantities;
}

void paintHistoryChart(QPainter &painter, const QRectF &rect, HistoryChart &chart, const QStringList &title)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(11);
    double y = rect.top();
    for (int i = 0; i < title.size(); ++i) {
        font.setBold(i == 0);
        painter.setFont(font);
        const QRectF line(rect.left(), y, rect.width(), painter.fontMetrics().height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            painter.fontMetrics().elidedText(title.at(i), Qt::ElideRight, int(rect.width())));
        y += line.height() * 1.3;
    }
    painter.restore();
    chart.render(painter, QRectF(rect.left(), y, rect.width(), rect.bottom() - y));
}

QString exportHistoryChart(HistoryChart &chart, const QString &path, const QStringList &title)
{
    // The finished file is renamed over the target: a FIFO or a device there
    // would be replaced by a regular file.
    const QString refused = OutputFile::checkTarget(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
    if (!refused.isEmpty())
        return openError(path, refused);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return openError(path, file.errorString());
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setTitle(title.value(0));
        QPainter painter(&writer);
        paintHistoryChart(painter, QRectF(0, 0, writer.width(), writer.height()), chart, title);
        painter.end();
    } else {
        QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintHistoryChart(painter, QRectF(16, 12, kImageWidth - 32, kImageHeight - 24), chart, title);
        painter.end();
        if (!image.save(&file, "PNG"))
            return openError(path, file.errorString());
    }
    if (!file.commit())
        return openError(path, file.errorString());
    return {};
}
