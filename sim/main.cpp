// vexa-meter-sim: one or more simulated meters for trying the assistant
// without an instrument. Prints "udp ADDR PORT", "pty PATH", "serial DEVICE"
// per meter and then "ready" on stdout for scripts.

#include "sim/metersim.h"
#include "sim/searchresponder.h"
#include "sim/simprofile.h"
#include "sim/simtruth.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

int signalPipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    (void)ignored;
}

bool parseUdp(const QString &text, QHostAddress &address, quint16 &port)
{
    QString portText = text;
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        QString host = text.left(colon);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        if (!address.setAddress(host))
            return false;
        portText = text.mid(colon + 1);
    }
    bool ok = false;
    const uint value = portText.toUInt(&ok);
    if (!ok || value > 65535)
        return false;
    port = static_cast<quint16>(value);
    return true;
}

// The meter's ground truth as JSON, replaced whole after every request.
void writeTruth(MeterSim &meter, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QJsonDocument(SimTruth::of(meter).toJson()).toJson(QJsonDocument::Indented));
    file.commit();
}

int fail(const QString &text)
{
    std::fprintf(stderr, "vexa-meter-sim: %s\n", qPrintable(text));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexa-meter-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated meter for the assistant: answers item reads and writes, the clock and\n"
                       "whatever further responders are built in, over UDP, a pseudo-terminal or a serial line.\n"
                       "Without a transport option it listens on UDP 127.0.0.1 with an ephemeral port.\n"
                       "Without --profile it is the demo meter at device address 255, the assistant's default.\n"
                       "On stdout it prints, per meter, 'udp ADDR PORT', 'pty PATH', 'serial DEVICE', then 'ready';\n"
                       "on stderr, per meter, its model, device address and where it answers.\n"
                       "Stop it with Ctrl+C or SIGTERM."));
    parser.addHelpOption();
    const QCommandLineOption profileOption(QStringLiteral("profile"),
        QStringLiteral("Meter profile (JSON, see sim/README.md). Repeat for several meters. "
                       "Default: the built-in demo profile, at device address 255."),
        QStringLiteral("FILE"));
    const QCommandLineOption udpOption(QStringLiteral("udp"),
        QStringLiteral("Listen on UDP [ADDR:]PORT (ADDR defaults to 127.0.0.1; PORT 0 = ephemeral, "
                       "the bound port is printed). Further meters use PORT+1, PORT+2 ..."),
        QStringLiteral("[ADDR:]PORT"));
    const QCommandLineOption ptyOption(QStringLiteral("pty"),
        QStringLiteral("Open a pseudo-terminal per meter and print its path; the assistant uses it as serial port."));
    const QCommandLineOption ptyLinkOption(QStringLiteral("pty-link"),
        QStringLiteral("Implies --pty: make PATH a symbolic link to the first meter's pseudo-terminal, a stable "
                       "name as a USB adapter has; it goes when the meter disappears or stops. PATH must not exist."),
        QStringLiteral("PATH"));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
        QStringLiteral("Answer on a real serial DEVICE (first meter only), 8N1."), QStringLiteral("DEVICE"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
        QStringLiteral("Baud rate for --serial (default 9600)."), QStringLiteral("N"), QStringLiteral("9600"));
    const QCommandLineOption addressOption(QStringLiteral("address"),
        QStringLiteral("Override the profile's device address (0-255) and its 设备地址 item."), QStringLiteral("N"));
    const QCommandLineOption faultOption(QStringLiteral("fault"),
        QStringLiteral("Add a fault rule to every meter: KIND[,key=value...]. Kinds: %1. "
                       "Keys: match=any|read|write|clock|address|tilde, index=N, command=HEX, after=N, "
                       "times=N|all, parts=N, delay=MS, value=N. Example: silent,match=read,index=3 "
                       "(no answer to the first read of item 3); bad-crc,after=2,times=all.")
            .arg(SimFault::kindNames().join(QStringLiteral(", "))),
        QStringLiteral("RULE"));
    const QCommandLineOption chaosOption(QStringLiteral("chaos"),
        QStringLiteral("Chaos mode for every meter (the n-th meter uses SEED+n). ") + SimChaos::helpText(),
        QStringLiteral("SEED[,key=value...]"));
    const QCommandLineOption truthOption(QStringLiteral("truth"),
        QStringLiteral("After every request write what the first meter really holds to FILE as JSON "
                       "(items, clock, firmware pages, the requests that met chaos), replaced atomically."),
        QStringLiteral("FILE"));
    const QCommandLineOption verboseOption(QStringList { QStringLiteral("v"), QStringLiteral("verbose") },
        QStringLiteral("Log every frame received and sent in hexadecimal to stderr."));
    const QCommandLineOption printDemoOption(QStringLiteral("print-demo"),
        QStringLiteral("Print the built-in demo profile (a starting point for your own) and exit."));
    const QCommandLineOption searchOption(QStringLiteral("search"),
        QStringLiteral("Also answer the device search (01 01 01 01 on UDP port 1500, all local addresses; "
                       "several meters and processes share the port). Replies come from each meter's UDP port."));
    parser.addOption(searchOption);
    parser.addOptions({ profileOption, udpOption, ptyOption, ptyLinkOption, serialOption, baudOption, addressOption,
        faultOption, chaosOption, truthOption, verboseOption, printDemoOption });
    parser.process(app);

    if (parser.isSet(printDemoOption)) {
        const QByteArray demo = SimProfile::programDemoJson();
        std::fwrite(demo.constData(), 1, size_t(demo.size()), stdout);
        return 0;
    }

    std::vector<SimProfile> profiles;
    for (const QString &path : parser.values(profileOption)) {
        QString error;
        profiles.push_back(SimProfile::fromFile(path, &error));
        if (!error.isEmpty())
            return fail(error);
    }
    if (profiles.empty())
        profiles.push_back(SimProfile::programDemo());
    if (parser.isSet(addressOption)) {
        bool ok = false;
        const uint address = parser.value(addressOption).toUInt(&ok);
        if (!ok || address > 255)
            return fail(QStringLiteral("--address must be 0 to 255"));
        for (SimProfile &profile : profiles)
            profile.setAddress(static_cast<quint8>(address));
    }

    if (parser.isSet(searchOption)) {
        for (SimProfile &profile : profiles)
            enableSearchResponder(profile);
    }

    QList<SimFault> faults;
    for (const QString &rule : parser.values(faultOption)) {
        QString error;
        faults.append(SimFault::parse(rule, &error));
        if (!error.isEmpty())
            return fail(error);
    }

    SimChaos chaos;
    if (parser.isSet(chaosOption)) {
        QString error;
        chaos = SimChaos::parse(parser.value(chaosOption), &error);
        if (!error.isEmpty())
            return fail(error);
    }

    SimTransportOptions base;
    base.pty = parser.isSet(ptyOption) || parser.isSet(ptyLinkOption);
    base.udp = parser.isSet(udpOption) || (!base.pty && !parser.isSet(serialOption));
    if (parser.isSet(udpOption) && !parseUdp(parser.value(udpOption), base.udpAddress, base.udpPort))
        return fail(QStringLiteral("--udp expects [ADDR:]PORT, got '%1'").arg(parser.value(udpOption)));
    bool baudOk = false;
    base.baudRate = parser.value(baudOption).toInt(&baudOk);
    if (!baudOk || base.baudRate <= 0)
        return fail(QStringLiteral("--baud expects a positive number"));

    std::vector<std::unique_ptr<MeterSim>> meters;
    for (size_t i = 0; i < profiles.size(); ++i) {
        SimTransportOptions options = base;
        if (options.udpPort != 0)
            options.udpPort = static_cast<quint16>(options.udpPort + i);
        if (i == 0) {
            options.serialDevice = parser.value(serialOption);
            options.ptyLink = parser.value(ptyLinkOption);
        }
        auto meter = std::make_unique<MeterSim>(profiles[i]);
        meter->setVerbose(parser.isSet(verboseOption));
        for (const SimFault &fault : faults)
            meter->addFault(fault);
        if (parser.isSet(chaosOption)) {
            SimChaos own = chaos;
            own.restart(chaos.seed + i);
            meter->setChaos(own);
        }
        if (i == 0 && parser.isSet(truthOption)) {
            const QString path = parser.value(truthOption);
            MeterSim *first = meter.get();
            QObject::connect(first, &MeterSim::requestHandled, first, [first, path] { writeTruth(*first, path); });
            writeTruth(*first, path);
        }
        QString error;
        if (!meter->start(options, &error))
            return fail(error);
        // For scripts on stdout, for people on stderr: what to type into the
        // assistant's connection settings.
        const QString who
            = QStringLiteral("vexa-meter-sim: %1 at device address %2").arg(profiles[i].model).arg(profiles[i].address);
        if (options.udp) {
            std::printf("udp %s %u\n", qPrintable(meter->udpAddress().toString()), unsigned(meter->udpPort()));
            std::fprintf(stderr, "%s on UDP %s port %u\n", qPrintable(who), qPrintable(meter->udpAddress().toString()),
                unsigned(meter->udpPort()));
        }
        if (options.pty) {
            std::printf("pty %s\n", qPrintable(meter->ptyPath()));
            const QString linked
                = options.ptyLink.isEmpty() ? QString() : QStringLiteral(", linked as %1").arg(options.ptyLink);
            std::fprintf(stderr, "%s on the serial port %s (a pseudo-terminal%s)\n", qPrintable(who),
                qPrintable(meter->ptyPath()), qPrintable(linked));
        }
        if (!options.serialDevice.isEmpty()) {
            std::printf("serial %s\n", qPrintable(options.serialDevice));
            std::fprintf(stderr, "%s on the serial port %s, %d 8N1\n", qPrintable(who),
                qPrintable(options.serialDevice), options.baudRate);
        }
        QObject::connect(meter.get(), &MeterSim::disappeared, &app,
            [] { std::fprintf(stderr, "vexa-meter-sim: a meter disappeared (fault rule)\n"); });
        meters.push_back(std::move(meter));
    }
    std::printf("ready\n");
    std::fflush(stdout);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    const int code = app.exec();
    meters.clear();
    return code;
}
