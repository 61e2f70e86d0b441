#include "bench/benchhistorydata.h"

#include "base/settings.h"
#include "bench/benchtable.h"
#include "bench/benchwait.h"
#include "history/historychart.h"
#include "history/historydata.h"
#include "sim/historyresponder.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>

#include <qwt_plot.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// 240 records a day for 417 days: 100,080 lines of about 40 bytes.
const QDate kFrom(2023, 1, 1);
const QDate kTo = kFrom.addDays(416);
constexpr int kLines = 100080;

QJsonObject bulkHistorySection(int pieceDelayMs)
{
    return { { "header", QStringLiteral("日期时间,瞬时流量(m3/h),累积流量(m3),温度(℃)") },
        { "generate",
            QJsonObject {
                { "from", kFrom.toString(Qt::ISODate) }, { "to", kTo.toString(Qt::ISODate) }, { "everyMinutes", 6 } } },
        { "pieceBytes", 4096 }, { "pieceDelayMs", pieceDelayMs } };
}

SimProfile bulkHistoryProfile(int pieceDelayMs)
{
    const QJsonObject root { { "address", 1 }, { "model", "VX-200" }, { "items", QJsonArray {} },
        { "history", bulkHistorySection(pieceDelayMs) } };
    return SimProfile::fromJson(QJsonDocument(root).toJson());
}

void pointAt(const SimRunner &meter, bool flood)
{
    LinkSettings link = meterLink(meter, !flood);
    link.serial.baudRate = 115200;
    storeLinkSettings(link);
    appSettings()->sync();
}

// Watches the event loop with a 10 ms timer: the longest gap beyond its
// period is the longest time input would have waited.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_worst = std::max(m_worst, double(now - m_last) / 1000.0 - 10000.0);
            m_last = now;
        });
        m_clock.start();
        m_last = 0;
        m_timer.start(10);
    }
    double worstMicros() const { return std::max(0.0, m_worst); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_worst = 0;
};

} // namespace

void benchHistoryArrival(BenchTable &table, bool flood)
{
    // Flood: the whole answer at once on an unpaced pseudo-terminal, so the
    // lines come faster than any dialog shows them.
    SimTransportOptions options;
    options.pty = flood;
    SimRunner meter(bulkHistoryProfile(flood ? 0 : 1), options);
    BenchRow row { QStringLiteral("history dialog: longest stall while lines arrive"),
        flood ? QStringLiteral("pty, unpaced") : QStringLiteral("UDP loopback"), QStringLiteral("%1 lines").arg(kLines),
        -1, 0, {}, {}, 0 };
    if (!meter.isStarted()) {
        table.add(row);
        return;
    }
    pointAt(meter, flood);
    std::vector<double> lastLineTimes;
    row.medianMicros = medianMicros(
        5,
        [&] {
            HistoryData dialog;
            dialog.show();
            dialog.findChild<QDateEdit *>(QStringLiteral("dateStart"))->setDate(kFrom);
            dialog.findChild<QDateEdit *>(QStringLiteral("dateEnd"))->setDate(kTo);
            QTextEdit *text = dialog.findChild<QTextEdit *>(QStringLiteral("textEdit"));
            QElapsedTimer timer;
            timer.start();
            StallProbe probe;
            dialog.findChild<QPushButton *>(QStringLiteral("bntQuery"))->click();
            // The header line comes first.
            const bool all = waitUntil([&] { return text->document()->blockCount() > kLines + 1; }, 120000, 1);
            lastLineTimes.push_back(timer.nsecsElapsed() / 1000.0);
            waitUntil([&] { return !dialog.reader().isRunning(); }, 30000, 1);
            QCoreApplication::processEvents();
            return all ? probe.worstMicros() : -1.0;
        },
        &row.runs);
    std::sort(lastLineTimes.begin(), lastLineTimes.end());
    if (!lastLineTimes.empty())
        row.note = QStringLiteral("10 ms timer's longest delay; meter sends %1; last line shown after %2 (median)")
                       .arg(flood ? QStringLiteral("the whole answer at once") : QStringLiteral("4096 B every 1 ms"),
                           formatMicros(lastLineTimes[lastLineTimes.size() / 2]));
    table.add(row);
}

void benchHistoryTableAndChart(BenchTable &table)
{
    const QStringList lines = simHistoryLines(bulkHistorySection(1), kFrom, kTo, QDateTime());
    QString answer;
    for (const QString &line : lines)
        answer += line + QStringLiteral("\r\n");
    const QString size = QStringLiteral("%1 lines").arg(lines.size());
    BenchRow tableRow { QStringLiteral("history table: end of answer to first paint"), QStringLiteral("in process"),
        size, -1, 0, {}, {}, 0 };
    BenchRow chartRow { QStringLiteral("history chart: end of answer to first paint"), QStringLiteral("in process"),
        size, -1, 0, {}, {}, 0 };
    BenchRow panRow { QStringLiteral("history chart: one pan step"), QStringLiteral("in process"), size, -1, 0, {}, {},
        0 };
    std::vector<double> chartTimes;
    std::vector<double> panTimes;
    tableRow.medianMicros = medianMicros(
        5,
        [&] {
            HistoryData dialog;
            dialog.resize(1000, 700);
            dialog.show();
            QTextEdit *text = dialog.findChild<QTextEdit *>(QStringLiteral("textEdit"));
            auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("historyTabs"));
            auto *view = dialog.findChild<QTableView *>(QStringLiteral("historyTable"));
            auto *chart = dialog.findChild<HistoryChart *>(QStringLiteral("historyChart"));
            // The lines as the reader hands them over, until the text holds them all.
            for (int at = 0; at < answer.size();) {
                const int end = answer.indexOf(QLatin1Char('\n'), qMin(answer.size() - 1, at + 256 * 1024)) + 1;
                const int next = end > 0 ? end : answer.size();
                QMetaObject::invokeMethod(
                    &dialog, "slotAddText", Qt::QueuedConnection, Q_ARG(QString, answer.mid(at, next - at)));
                at = next;
            }
            if (!waitUntil([&] { return text->document()->blockCount() > lines.size(); }, 120000, 1)) {
                std::fprintf(stderr, "lines shown: %d of %d\n", text->document()->blockCount(), int(lines.size()));
                return -1.0;
            }
            QElapsedTimer timer;
            timer.start();
            // The answer's end: the views take what arrived.
            QCoreApplication::processEvents();
            tabs->setCurrentWidget(view->parentWidget());
            view->viewport()->repaint();
            const double tableMicros = timer.nsecsElapsed() / 1000.0;
            timer.restart();
            tabs->setCurrentWidget(chart->parentWidget());
            QCoreApplication::processEvents();
            for (int i = 0; i < chart->plotCount(); ++i)
                chart->plot(i)->repaint();
            chartTimes.push_back(timer.nsecsElapsed() / 1000.0 + tableMicros);
            if (view->model()->rowCount() != lines.size() || chart->series().size() != 3) {
                std::fprintf(stderr, "rows %d of %d, series %d\n", view->model()->rowCount(), int(lines.size()),
                    int(chart->series().size()));
                return -1.0;
            }
            const double width = (chart->viewTo() - chart->viewFrom()) / 2;
            chart->setView(chart->viewFrom(), chart->viewFrom() + width);
            for (int step = 0; step < 5; ++step) {
                timer.restart();
                chart->setView(chart->viewFrom() + width / 50, chart->viewTo() + width / 50);
                for (int i = 0; i < chart->plotCount(); ++i)
                    chart->plot(i)->repaint();
                panTimes.push_back(timer.nsecsElapsed() / 1000.0);
            }
            return tableMicros;
        },
        &tableRow.runs);
    chartRow.runs = chartTimes;
    std::sort(chartTimes.begin(), chartTimes.end());
    chartRow.medianMicros = chartTimes.empty() || tableRow.medianMicros < 0 ? -1 : chartTimes[chartTimes.size() / 2];
    chartRow.note = QStringLiteral("3 series, 3 plots; table switched to first, then the chart");
    panRow.runs = panTimes;
    std::sort(panTimes.begin(), panTimes.end());
    panRow.medianMicros = panTimes.empty() || tableRow.medianMicros < 0 ? -1 : panTimes[panTimes.size() / 2];
    panRow.note = QStringLiteral("half the range shown, moved by 2 %, decimated again and painted; %1 steps")
                      .arg(panTimes.size());
    tableRow.note = QStringLiteral("sorting off (arrival order); rows are added while the lines arrive");
    table.add(tableRow);
    table.add(chartRow);
    table.add(panRow);
}
