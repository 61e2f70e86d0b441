#include "bench/benchlisten.h"

#include "base/settings.h"
#include "bench/benchtable.h"
#include "bench/benchwait.h"
#include "link/devicechannel.h"
#include "link/dsearchdevicethread.h"
#include "monitor/debugswitch.h"
#include "monitor/monitorthread.h"
#include "sim/debugresponder.h"
#include "sim/searchresponder.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QNetworkInterface>

#include <algorithm>

namespace {

constexpr int kSamples = 25;

void pointAt(const SimRunner &meter)
{
    connectToMeter(meter, true);
    appSettings()->sync();
}

// Spins the event loop until `done` holds or `timeoutMs` passed.

} // namespace

void benchMonitorListen(BenchTable &table)
{
    SimRunner meter;
    pointAt(meter);

    // The debug switch the monitor sends first and last: one item write.
    BenchRow switchRow { QStringLiteral("line monitor: debug switch"), QStringLiteral("UDP loopback"),
        QStringLiteral("11 B + 8 B"), -1, 0, {}, {}, 0 };
    if (meter.isStarted()) {
        DeviceChannel channel;
        if (channel.open(storedLinkSettings())) {
            const QByteArray request = buildDebugSwitchFrame(channel.deviceAddress(), false);
            switchRow.medianMicros = medianMicros(
                kSamples,
                [&] {
                    QElapsedTimer timer;
                    timer.start();
                    const SwitchExchange exchange = exchangeSwitch(channel, request, 10000, nullptr);
                    const double micros = timer.nsecsElapsed() / 1000.0;
                    return exchange.result == LinkOk ? micros : -1.0;
                },
                &switchRow.runs);
        }
    }
    table.add(switchRow);

    // A line the meter sends on its own, until the dialog's slot has it.
    BenchRow lineRow { QStringLiteral("line monitor: line received"), QStringLiteral("UDP loopback"),
        QStringLiteral("1 line"), -1, 0, {}, {}, 0 };
    if (meter.isStarted()) {
        MonitorThread thread;
        thread.setLinkSettings(storedLinkSettings());
        int received = 0;
        QObject::connect(&thread, &MonitorThread::signalDataRecv, &thread, [&received] { ++received; });
        thread.setDebug(false);
        thread.start();
        // The opening switch, then the read passes.
        const bool listening = meter.waitForFrames(1, 5000);
        waitUntil([] { return false; }, 100, 5);
        lineRow.medianMicros = medianMicros(
            kSamples,
            [&] {
                // Start somewhere inside a read pass, not always at its beginning.
                waitUntil([] { return false; }, 7, 5);
                const int before = received;
                QElapsedTimer timer;
                timer.start();
                meter.call([](MeterSim &sim) { sim.responder<DebugResponder>()->sendUnsolicited("ADC=1023\r\n"); });
                if (!listening || !waitUntil([&] { return received > before; }, 2000, 5))
                    return -1.0;
                return timer.nsecsElapsed() / 1000.0;
            },
            &lineRow.runs);
        thread.stop();
    }
    lineRow.note = QStringLiteral("from the meter's send to the dialog's slot; a read pass lasts 100 ms");
    table.add(lineRow);
}

void benchDeviceSearch(BenchTable &table)
{
    constexpr int kWindowMs = 200;
    SimProfile profile = SimProfile::demo();
    profile.raw.insert(QStringLiteral("search"),
        QJsonObject {
            { "listen", true }, { "address", "127.0.0.1" }, { "port", 0 }, { "reply", "VX-200 1" }, { "repeat", 1 } });
    SimRunner meter(profile);
    BenchRow row { QStringLiteral("device search: reply listed"), QStringLiteral("UDP loopback"),
        QStringLiteral("1 meter"), -1, 0, {}, {}, 0 };
    if (meter.isStarted()) {
        quint16 port = 0;
        meter.call([&](MeterSim &sim) { port = sim.responder<SearchResponder>()->searchPort(); });
        DSearchDeviceThread::setRouteOverride({ { QHostAddress(QStringLiteral("127.0.0.1")) }, port, kWindowMs });
        row.medianMicros = medianMicros(
            9,
            [&] {
                DSearchDeviceThread worker(nullptr);
                QElapsedTimer timer;
                double listedAt = -1;
                bool ended = false;
                QObject::connect(&worker, &DSearchDeviceThread::signalInsertDevice, &worker,
                    [&] { listedAt = timer.nsecsElapsed() / 1000.0; });
                QObject::connect(&worker, &DSearchDeviceThread::signalSetEnableButtons, &worker,
                    [&](bool enable) { ended = enable; });
                timer.start();
                worker.startSearch();
                if (!waitUntil([&] { return ended; }, 5000, 5))
                    return -1.0;
                worker.wait();
                return listedAt;
            },
            &row.runs);
        DSearchDeviceThread::clearRouteOverride();
    }
    // The row runs the worker against a fixed loopback route; a search in use
    // first lists the machine's interfaces, timed here on their own.
    std::vector<double> listing;
    medianMicros(
        9,
        [] {
            QElapsedTimer timer;
            timer.start();
            const auto interfaces = QNetworkInterface::allInterfaces();
            return interfaces.isEmpty() ? 0.0 : timer.nsecsElapsed() / 1000.0;
        },
        &listing);
    std::sort(listing.begin(), listing.end());
    row.note = QStringLiteral("from the start of the search worker, on a fixed loopback route; listing the "
                              "interfaces first, as a search in use does, takes %1 more; the search then waits "
                              "%2 ms for more replies")
                   .arg(formatMicros(listing.empty() ? -1 : listing[listing.size() / 2]))
                   .arg(kWindowMs);
    table.add(row);
}
