#include "bench/benchlink.h"

#include "app/mainwindow.h"
#include "base/settings.h"
#include "bench/benchtable.h"
#include "bench/benchwait.h"
#include "bench/serialpacer.h"
#include "bench/udpecho.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "firmware/updatethread.h"
#include "history/historydata.h"
#include "items/configtree.h"
#include "items/itemframes.h"
#include "link/devicechannel.h"
#include "sim/historyresponder.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextEdit>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {

constexpr int kBitsPerByte = 10; // 8N1
constexpr int kItemBaud = 115200;
constexpr int kBulkBaud = 460800;

enum class Transport { Udp, Serial };

QString transportName(Transport transport, int baud)
{
    return transport == Transport::Udp ? QStringLiteral("UDP loopback")
                                       : QStringLiteral("serial %1 8N1 (paced pty)").arg(baud);
}

// The meter, and for serial the paced line in front of it; the settings
// point the program at whichever was asked for.
class BenchMeter
{
public:
    BenchMeter(const SimProfile &profile, Transport transport, int baud)
        : m_transport(transport)
    {
        SimTransportOptions options;
        options.pty = transport == Transport::Serial;
        m_runner = std::make_unique<SimRunner>(profile, options);
        LinkSettings link = meterLink(*m_runner, transport == Transport::Udp);
        if (transport == Transport::Serial) {
            m_pacer = std::make_unique<SerialPacer>(m_runner->ptyPath(), baud, kBitsPerByte);
            link.serial.port = m_pacer->programPath();
            link.serial.baudRate = baud;
        }
        storeLinkSettings(link);
        appSettings()->sync();
    }
    ~BenchMeter()
    {
        m_pacer.reset();
        m_runner.reset();
    }

    bool isValid() const { return m_runner->isStarted() && (!m_pacer || m_pacer->isValid()); }
    SimRunner &runner() { return *m_runner; }
    void resetCounts()
    {
        m_runner->clearReceived();
        if (m_pacer)
            m_pacer->resetCounts();
    }
    // Wire time of what passed since the last reset (serial only).
    double wireMicros() const { return m_pacer ? m_pacer->wireMicros(m_pacer->bytesUp() + m_pacer->bytesDown()) : 0; }
    double meterMicros() const { return m_pacer ? m_pacer->meterMicros() : 0; }
    double programMicros() const { return m_pacer ? m_pacer->programMicros() : 0; }

private:
    Transport m_transport;
    std::unique_ptr<SimRunner> m_runner;
    std::unique_ptr<SerialPacer> m_pacer;
};

SimProfile itemProfile(int itemCount)
{
    QJsonArray items;
    for (int i = 0; i < itemCount; ++i)
        items.append(QStringLiteral("参数%1:%2").arg(i, 3, 10, QLatin1Char('0')).arg(1000 + i * 7));
    QJsonObject root { { "address", 1 }, { "model", "VX-200" }, { "items", items } };
    return SimProfile::fromJson(QJsonDocument(root).toJson());
}

quint16 tildeCommand(const QByteArray &frame)
{
    return frame.size() > 4 ? quint16(quint8(frame.at(3)) << 8 | quint8(frame.at(4))) : 0;
}

// The median of per-run limits: each run's time is at least its own limit,
// so the median time is at least this.
double middle(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor of a UDP row: the fastest bare echo of its frames over every
// placement of the two ends; the note says which placement that was.
double echoFloor(const std::vector<EchoStep> &steps, int runs, QString *placement)
{
    const EchoFloor floor = UdpEcho::floor(steps, runs);
    *placement = QStringLiteral("floor: %1").arg(floor.placement);
    return floor.micros;
}

// The note of a UDP row: what a plain client needs against the simulated
// meter itself, so the simulator's share of the time shows.
QString meterShare(BenchMeter &meter, const std::vector<EchoStep> &steps, int runs)
{
    UdpEcho client;
    const double micros = medianMicros(runs, [&] { return client.runAgainst(meter.runner().udpPort(), steps); });
    return QStringLiteral("plain client against the simulator: %1").arg(formatMicros(micros));
}

QString serialNote(double meterMicros, double programMicros)
{
    return QStringLiteral("limit: wire time + meter's reply delay (%1); program's turnaround between exchanges %2")
        .arg(formatMicros(meterMicros))
        .arg(formatMicros(programMicros));
}

} // namespace

void benchSmallExchange(BenchTable &table)
{
    const SimProfile profile = itemProfile(1);
    for (Transport transport : { Transport::Udp, Transport::Serial }) {
        BenchMeter meter(profile, transport, kItemBaud);
        BenchRow row { QStringLiteral("one exchange (item read)"), transportName(transport, kItemBaud),
            QStringLiteral("8 B + 16 B"), -1, 0, {}, {}, 0 };
        if (!meter.isValid()) {
            table.add(row);
            continue;
        }
        DeviceChannel channel;
        channel.open(storedLinkSettings());
        const QByteArray request = buildItemReadFrame(channel.deviceAddress(), 0);
        QByteArray answer;
        std::vector<double> limits;
        double meterDelay = 0;
        row.medianMicros = medianMicros(
            101,
            [&] {
                meter.resetCounts();
                QElapsedTimer timer;
                timer.start();
                const LinkResult result = channel.transact(request, answer, false, 3000);
                const double micros = timer.nsecsElapsed() / 1000.0;
                limits.push_back(meter.wireMicros() + meter.meterMicros());
                meterDelay += meter.meterMicros();
                return result == LinkOk && linkErrorText(result, answer).isEmpty() ? micros : -1.0;
            },
            &row.runs);
        row.exchanges = 1;
        if (transport == Transport::Udp) {
            const std::vector<EchoStep> steps { EchoStep { request, { answer }, 0 } };
            QString placement;
            row.limitMicros = echoFloor(steps, 101, &placement);
            row.note = placement + QStringLiteral("; ") + meterShare(meter, steps, 101);
        } else {
            row.limitMicros = middle(limits);
            row.note = QStringLiteral("limit: wire time + meter's reply delay (%1 per exchange on average)")
                           .arg(formatMicros(meterDelay / 101));
        }
        row.size = QStringLiteral("%1 B + %2 B").arg(request.size()).arg(answer.size());
        table.add(row);
    }
}

void benchRefresh(BenchTable &table, int itemCount, int baud)
{
    const SimProfile profile = itemProfile(itemCount);
    const QList<Transport> transports = baud == kItemBaud ? QList<Transport> { Transport::Udp, Transport::Serial }
                                                          : QList<Transport> { Transport::Serial };
    for (Transport transport : transports) {
        BenchMeter meter(profile, transport, baud);
        BenchRow row { QStringLiteral("refresh into the item list"), transportName(transport, baud),
            QStringLiteral("%1 items").arg(itemCount), -1, 0, {}, {}, 0 };
        if (!meter.isValid()) {
            table.add(row);
            continue;
        }
        MainWindow window;
        if (qEnvironmentVariableIsSet("VEXA_BENCH_TREE_PRECISION"))
            window.configTree()->header()->setResizeContentsPrecision(
                qEnvironmentVariableIntValue("VEXA_BENCH_TREE_PRECISION"));
        if (!qEnvironmentVariableIsSet("VEXA_BENCH_HIDDEN"))
            window.show();
        std::vector<double> limits; // per run, paired with its time
        double meterDelay = 0;
        double turnaround = 0;
        row.medianMicros = medianMicros(
            5,
            [&] {
                meter.resetCounts();
                QEventLoop loop;
                QObject::connect(window.refreshThread(), &QThread::finished, &loop, &QEventLoop::quit);
                QElapsedTimer timer;
                timer.start();
                window.slotRefresh();
                QTimer::singleShot(60000, &loop, &QEventLoop::quit);
                loop.exec();
                // Until the last rows are painted.
                waitUntil([&] { return !window.configTree()->isRowPaintHeld(); }, 5000, 1);
                QCoreApplication::processEvents();
                const double micros = timer.nsecsElapsed() / 1000.0;
                limits.push_back(meter.wireMicros() + meter.meterMicros());
                meterDelay = meter.meterMicros();
                turnaround = meter.programMicros();
                return window.configTree()->topLevelItemCount() == itemCount ? micros : -1.0;
            },
            &row.runs);
        if (transport == Transport::Udp) {
            std::vector<EchoStep> steps;
            const quint8 address = meter.runner().address();
            for (const QByteArray &frame : meter.runner().receivedFrames()) {
                const int index = quint8(frame.at(3));
                const QByteArray payload
                    = index < itemCount ? simEncodeText(profile.items.at(index).text()) : QByteArray();
                steps.push_back(EchoStep { frame, { simAddressAnswer(address, payload) }, 0 });
            }
            QString placement;
            row.limitMicros = echoFloor(steps, 5, &placement);
            row.exchanges = int(steps.size());
            row.note
                = QStringLiteral("%1 exchanges; %2; %3").arg(steps.size()).arg(placement, meterShare(meter, steps, 5));
        } else {
            row.limitMicros = middle(limits);
            row.exchanges = itemCount + 1;
            row.note = serialNote(meterDelay, turnaround);
        }
        table.add(row);
    }
}

void benchFirmwareUpdate(BenchTable &table)
{
    const int imageSize = 300 * 1024;
    QByteArray image(imageSize, Qt::Uninitialized);
    QRandomGenerator random(42);
    for (char &c : image)
        c = char(random.generate() & 0xFF);
    const QString path = QStringLiteral("bench.vexabin");
    if (!writePackageFile(path, QStringLiteral("VX"), QStringLiteral("1.0"), QStringLiteral("VX-200"), image).isEmpty())
        return;
    DEncryptInfo info;
    info.setFilePath(path);
    if (!DDbServer(QString::fromLatin1(kPackageConnectionName)).parseFile(info).isEmpty())
        return;

    for (Transport transport : { Transport::Udp, Transport::Serial }) {
        BenchMeter meter(itemProfile(1), transport, kBulkBaud);
        BenchRow row { QStringLiteral("firmware update"), transportName(transport, kBulkBaud),
            QStringLiteral("300 KiB"), -1, 0, {}, {}, 0 };
        if (!meter.isValid()) {
            table.add(row);
            continue;
        }
        std::vector<double> limits; // per run, paired with its time
        double meterDelay = 0;
        double turnaround = 0;
        row.medianMicros = medianMicros(
            5,
            [&] {
                meter.resetCounts();
                UpdateThread thread;
                thread.setLinkSettings(storedLinkSettings());
                thread.setInfo(info);
                std::atomic<bool> succeeded { false };
                QObject::connect(&thread, &UpdateThread::signalUpdateSucceed, [&succeeded] { succeeded = true; });
                QElapsedTimer timer;
                timer.start();
                thread.start();
                thread.wait();
                const double micros = timer.nsecsElapsed() / 1000.0;
                limits.push_back(meter.wireMicros() + meter.meterMicros());
                meterDelay = meter.meterMicros();
                turnaround = meter.programMicros();
                return succeeded ? micros : -1.0;
            },
            &row.runs);
        row.exchanges = 2 + (imageSize + 1023) / 1024 + 2;
        if (transport == Transport::Udp) {
            std::vector<EchoStep> steps;
            for (const QByteArray &frame : meter.runner().receivedFrames()) {
                QByteArray reply;
                switch (tildeCommand(frame)) {
                case 0x293F:
                    reply = simTildeReply(simEncodeText(QStringLiteral("Find VX-200 OK")));
                    break;
                case 0x2FAC:
                    reply = simTildeReply(QByteArray("Erase OK\r\n\x00\x00\x00\xC1\x81\x40", 16));
                    break;
                case 0x2C01:
                    reply = simTildeReply(simEncodeText(QStringLiteral("Page[%1] OK\r\n").arg(quint8(frame.at(10)))));
                    break;
                default:
                    reply = simTildeReply(QByteArrayLiteral("Finish OK\r\n"));
                    break;
                }
                steps.push_back(EchoStep { frame, { reply }, 0 });
            }
            QString placement;
            row.limitMicros = echoFloor(steps, 5, &placement);
            row.exchanges = int(steps.size());
            row.note
                = QStringLiteral("%1 exchanges; %2; %3").arg(steps.size()).arg(placement, meterShare(meter, steps, 5));
        } else {
            row.limitMicros = middle(limits);
            row.note = serialNote(meterDelay, turnaround);
        }
        table.add(row);
    }
}

void benchHistoryQuery(BenchTable &table)
{
    // 40 records a day for 250 days: 10,000 lines of about 40 bytes.
    const QDate from(2024, 1, 1);
    const QDate to = from.addDays(249);
    const int pieceBytes = 1024;
    const int pieceDelayMs = 1;
    const QJsonObject history { { "generate",
                                    QJsonObject { { "from", from.toString(Qt::ISODate) },
                                        { "to", to.toString(Qt::ISODate) }, { "everyMinutes", 36 } } },
        { "pieceBytes", pieceBytes }, { "pieceDelayMs", pieceDelayMs } };
    QJsonObject root { { "address", 1 }, { "model", "VX-200" }, { "items", QJsonArray {} }, { "history", history } };
    const SimProfile profile = SimProfile::fromJson(QJsonDocument(root).toJson());
    const QStringList lines = simHistoryLines(history, from, to, QDateTime::currentDateTime());
    QByteArray answer;
    for (const QString &line : lines)
        answer += simEncodeText(line + QStringLiteral("\r\n"));
    QList<QByteArray> pieces;
    for (int at = 0; at < answer.size(); at += pieceBytes)
        pieces.append(answer.mid(at, pieceBytes));

    for (Transport transport : { Transport::Udp, Transport::Serial }) {
        BenchMeter meter(profile, transport, kBulkBaud);
        const QString name = transportName(transport, kBulkBaud);
        const QString size = QStringLiteral("%1 lines, %2 KiB").arg(lines.size()).arg(answer.size() / 1024);
        BenchRow lastLine { QStringLiteral("history query: last line shown"), name, size, -1, 0, {}, {}, 0 };
        BenchRow ended { QStringLiteral("history query: reader ended"), name, size, -1, 0, {}, {}, 0 };
        if (!meter.isValid()) {
            table.add(lastLine);
            continue;
        }
        std::vector<double> limits; // per run, paired with its time
        double meterDelay = 0;
        double turnaround = 0;
        std::vector<double> endTimes;
        lastLine.medianMicros = medianMicros(
            5,
            [&] {
                meter.resetCounts();
                HistoryData dialog;
                dialog.show();
                dialog.findChild<QDateEdit *>(QStringLiteral("dateStart"))->setDate(from);
                dialog.findChild<QDateEdit *>(QStringLiteral("dateEnd"))->setDate(to);
                int shown = 0;
                QObject counter;
                // A signal carries the lines of one received piece.
                QObject::connect(&dialog.reader(), &ReadThread::signalAddText, &counter,
                    [&shown](const QString &text) { shown += text.count(QLatin1Char('\n')); });
                QElapsedTimer timer;
                timer.start();
                dialog.findChild<QPushButton *>(QStringLiteral("bntQuery"))->click();
                QTextEdit *text = dialog.findChild<QTextEdit *>(QStringLiteral("textEdit"));
                // Handed over, then shown in the dialog's next turns.
                const bool all = waitUntil(
                    [&] { return shown >= lines.size() && text->document()->blockCount() > lines.size(); }, 120000, 1);
                QCoreApplication::processEvents();
                const double last = timer.nsecsElapsed() / 1000.0;
                waitUntil([&] { return !dialog.reader().isRunning(); }, 30000, 1);
                QCoreApplication::processEvents();
                endTimes.push_back(timer.nsecsElapsed() / 1000.0);
                limits.push_back(meter.wireMicros() + meter.meterMicros());
                meterDelay = meter.meterMicros();
                turnaround = meter.programMicros();
                const int blocks = dialog.findChild<QTextEdit *>(QStringLiteral("textEdit"))->document()->blockCount();
                return all && blocks >= lines.size() ? last : -1.0;
            },
            &lastLine.runs);
        ended.runs = endTimes;
        std::sort(endTimes.begin(), endTimes.end());
        ended.medianMicros = endTimes.empty() || lastLine.medianMicros < 0 ? -1 : endTimes[endTimes.size() / 2];
        lastLine.exchanges = 1;
        if (transport == Transport::Udp) {
            const QList<QByteArray> frames = meter.runner().receivedFrames();
            QString placement;
            if (!frames.isEmpty())
                lastLine.limitMicros
                    = echoFloor({ EchoStep { frames.first(), pieces, pieceDelayMs * 1000 } }, 5, &placement);
            lastLine.note
                = QStringLiteral("meter sends %1 B every %2 ms; %3").arg(pieceBytes).arg(pieceDelayMs).arg(placement);
            ended.note = QStringLiteral("includes the 1000 ms of silence that ends a UDP answer");
        } else {
            lastLine.limitMicros = middle(limits);
            lastLine.note = serialNote(meterDelay, turnaround);
            ended.note = QStringLiteral("includes the 500 ms of silence that ends a serial answer");
        }
        ended.limitMicros = lastLine.limitMicros;
        table.add(lastLine);
        table.add(ended);
    }
}
