#include "bench/benchhistorydata.h"

#include "base/settings.h"
#include "bench/benchtable.h"
#include "bench/benchwait.h"
#include "history/historydata.h"
#include "sim/simrunner.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// 240 records a day for 417 days: 100,080 lines of about 40 bytes.
const QDate kFrom(2023, 1, 1);
const QDate kTo = kFrom.addDays(416);
constexpr int kLines = 100080;

SimProfile bulkHistoryProfile(int pieceDelayMs)
{
    const QJsonObject history { { "generate",
                                    QJsonObject { { "from", kFrom.toString(Qt::ISODate) },
                                        { "to", kTo.toString(Qt::ISODate) }, { "everyMinutes", 6 } } },
        { "pieceBytes", 4096 }, { "pieceDelayMs", pieceDelayMs } };
    const QJsonObject root { { "address", 1 }, { "model", "VX-200" }, { "items", QJsonArray {} },
        { "history", history } };
    return SimProfile::fromJson(QJsonDocument(root).toJson());
}

void pointAt(const SimRunner &meter, bool flood)
{
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("device/address"), meter.address());
    settings->setValue(QStringLiteral("communicate/udp"), flood ? 0 : 1);
    settings->setValue(QStringLiteral("udp/address"), QStringLiteral("127.0.0.1"));
    settings->setValue(QStringLiteral("udp/port"), meter.udpPort());
    settings->setValue(QStringLiteral("serial/port"), meter.ptyPath());
    settings->setValue(QStringLiteral("serial/baudrate"), 115200);
    settings->setValue(QStringLiteral("serial/send_rts"), false);
    settings->sync();
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
            const bool all = waitUntil([&] { return text->document()->blockCount() > kLines; }, 120000, 1);
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
