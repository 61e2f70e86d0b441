#include "cli/cliapp.h"

#include "base/outputfile.h"
#include "base/settings.h"
#include "base/translationlookup.h"
#include "cli/cliassignment.h"
#include "cli/clifleet.h"
#include "cli/clihelp.h"
#include "cli/clihistory.h"
#include "cli/clireport.h"
#include "cli/cliservice.h"
#include "firmware/firmwareupdate.h"
#include "cli/clioutput.h"
#include "cli/cliprogress.h"
#include "cli/vexacli.h"
#include "fleet/meterlist.h"
#include "items/itemcsv.h"
#include "items/journal.h"
#include "monitor/monitorsend.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>

#include <unistd.h>

namespace {

void printOut(const QString &text)
{
    writeOut(text);
}

void printErr(const QString &text)
{
    writeErr(text);
}

struct CommandInfo
{
    const char *name;
    const char *syntax;
    const char *summary;
    QStringList options;
};

QList<CommandInfo> commands()
{
    return {
        { "items", "items [-o FILE|DIR] [--json]",
            QT_TRANSLATE_NOOP("VexaCli",
                "读取配置项列表:每项的行号(配置助手列表中显示的)和配置项序号(文件和set使用的);-o写出配置助手的CSV文件"),
            { QStringLiteral("output") } },
        { "set", "set INDEX=VALUE|NAME=VALUE... [--allow-empty] [--trigger]",
            QT_TRANSLATE_NOOP(
                "VexaCli", "按配置项序号(不是行号)或名称写入配置项,并显示设备的应答;名称可只写开头,须只对应一项"),
            { QStringLiteral("allow-empty"), QStringLiteral("trigger") } },
        { "apply", "apply FILE [--dry-run] [--all] [--no-backup]",
            QT_TRANSLATE_NOOP("VexaCli",
                "写入文件中与设备不同的值(先读取,并把设备中的值备份到backups/);--dry-run只显示比较;--all写入每一行"),
            { QStringLiteral("dry-run"), QStringLiteral("all"), QStringLiteral("no-backup") } },
        { "diff", "diff FILE [--json]",
            QT_TRANSLATE_NOOP("VexaCli", "将文件与设备中的值比较,不写入;相同时退出状态为0,不同时为5"), {} },
        { "clock", "clock", QT_TRANSLATE_NOOP("VexaCli", "将设备时钟设为本机当前时间"), {} },
        { "history", "history FROM TO [-o FILE] [--pdf FILE] [--chart FILE.png|FILE.pdf]",
            QT_TRANSLATE_NOOP("VexaCli", "读取两天之间的历史数据(日期yyyy-MM-dd);无-o时输出到标准输出"),
            { QStringLiteral("output"), QStringLiteral("pdf"), QStringLiteral("chart") } },
        { "report", "report FROM TO -o FILE.pdf",
            QT_TRANSLATE_NOOP(
                "VexaCli", "读取配置项和两天之间的历史数据,写出服务报告(A4 PDF);今天对该设备的写入记录为本次维护"),
            { QStringLiteral("output") } },
        { "flash", "flash PACKAGE [--skip-model-mismatch]",
            QT_TRANSLATE_NOOP(
                "VexaCli", "用固件包更新设备固件;进度显示在标准错误输出;更新后再识别一次设备,并说明设备是否应答"),
            { QStringLiteral("skip-model-mismatch") } },
        { "monitor",
            "monitor [--seconds N] [--hex|--both] [--no-debug] [--send TEXT|--send-hex HEX] [--eol none|cr|lf|crlf] "
            "[--reconnect]",
            QT_TRANSLATE_NOOP("VexaCli", "监听设备发送的行并输出到标准输出;可在打开后发送一次"),
            { QStringLiteral("seconds"), QStringLiteral("hex"), QStringLiteral("both"), QStringLiteral("no-debug"),
                QStringLiteral("send"), QStringLiteral("send-hex"), QStringLiteral("eol"),
                QStringLiteral("reconnect") } },
        { "search", "search [--seconds N]", QT_TRANSLATE_NOOP("VexaCli", "广播搜索设备(只在您自己的网络上使用)"),
            { QStringLiteral("seconds") } },
    };
}

QList<QCommandLineOption> globalOptions()
{
    return {
        { QStringLiteral("udp"), VexaCli::tr("UDP目标"), QStringLiteral("HOST:PORT") },
        { QStringLiteral("serial"), VexaCli::tr("串口目标"), QStringLiteral("PORT") },
        { QStringLiteral("baud"), VexaCli::tr("波特率(默认9600)"), QStringLiteral("N") },
        { QStringLiteral("data-bits"), VexaCli::tr("数据位5..8(默认8)"), QStringLiteral("N") },
        { QStringLiteral("parity"), VexaCli::tr("校验: none|even|odd|space|mark"), QStringLiteral("PARITY") },
        { QStringLiteral("stop-bits"), VexaCli::tr("停止位: 1|1.5|2"), QStringLiteral("N") },
        { QStringLiteral("rts"), VexaCli::tr("每次发送前拉动RTS") },
        { QStringLiteral("address"), VexaCli::tr("设备地址1..255(默认255)"), QStringLiteral("N") },
        { QStringLiteral("targets"),
            VexaCli::tr("多台设备,每行一台: NAME,udp://HOST:PORT?address=N 或 NAME,serial:PORT?baud=N&address=N"),
            QStringLiteral("FILE") },
        { QStringLiteral("jobs"), VexaCli::tr("同时服务的设备数(默认8;同一串口上逐台进行)"), QStringLiteral("N") },
        { QStringLiteral("max-failures"),
            VexaCli::tr("多台设备:失败达到N台后不再开始新的设备,未开始的设备单独列出(默认不限)"), QStringLiteral("N") },
        { QStringLiteral("json"), VexaCli::tr("每台设备一行JSON输出") },
        { QStringLiteral("timeout"),
            VexaCli::tr("慢速线路:items、set、apply、clock和report每次等待应答的毫秒数(默认读取3000,重试和写入10000)"),
            QStringLiteral("MS") },
    };
}

QCommandLineOption commandOption(const QString &name)
{
    if (name == QLatin1String("output"))
        return { { QStringLiteral("o"), QStringLiteral("output") }, VexaCli::tr("输出文件;多台设备时为文件夹"),
            QStringLiteral("FILE|DIR") };
    if (name == QLatin1String("seconds"))
        return { QStringLiteral("seconds"), VexaCli::tr("持续秒数(默认10)"), QStringLiteral("N") };
    if (name == QLatin1String("hex"))
        return { QStringLiteral("hex"), VexaCli::tr("以十六进制显示") };
    if (name == QLatin1String("both"))
        return { QStringLiteral("both"), VexaCli::tr("同时显示原文和十六进制") };
    if (name == QLatin1String("no-debug"))
        return { QStringLiteral("no-debug"), VexaCli::tr("不打开设备的调试输出") };
    if (name == QLatin1String("send"))
        return { QStringLiteral("send"), VexaCli::tr("打开后发送的文本(GB2312)"), QStringLiteral("TEXT") };
    if (name == QLatin1String("send-hex"))
        return { QStringLiteral("send-hex"), VexaCli::tr("打开后发送的十六进制字节"), QStringLiteral("HEX") };
    if (name == QLatin1String("eol"))
        return { QStringLiteral("eol"), VexaCli::tr("发送内容后的行尾: none|cr|lf|crlf(默认none)"),
            QStringLiteral("EOL") };
    if (name == QLatin1String("reconnect"))
        return { QStringLiteral("reconnect"), VexaCli::tr("连接断开后等待并重新连接,直到--seconds结束") };
    if (name == QLatin1String("pdf"))
        return { QStringLiteral("pdf"), VexaCli::tr("另存为A4 PDF表格"), QStringLiteral("FILE") };
    if (name == QLatin1String("chart"))
        return { QStringLiteral("chart"), VexaCli::tr("另存为图表(PNG图片或A4横向PDF)"), QStringLiteral("FILE") };
    if (name == QLatin1String("dry-run"))
        return { QStringLiteral("dry-run"), VexaCli::tr("只显示比较,不写入") };
    if (name == QLatin1String("no-backup"))
        return { QStringLiteral("no-backup"), VexaCli::tr("写入前不备份设备中的值") };
    if (name == QLatin1String("allow-empty"))
        return { QStringLiteral("allow-empty"), VexaCli::tr("允许把有值的配置项写为空值") };
    if (name == QLatin1String("skip-model-mismatch"))
        return { QStringLiteral("skip-model-mismatch"),
            VexaCli::tr("跳过型号与固件包不同的设备(只识别,不擦除);跳过的设备单独列出,不算失败") };
    if (name == QLatin1String("trigger"))
        return { QStringLiteral("trigger"),
            VexaCli::tr("执行命令配置项(没有值的项,如恢复出厂设置),写作INDEX=或NAME=") };
    return { QStringLiteral("all"), VexaCli::tr("写入每一行,包括相同的值") };
}

QList<QCommandLineOption> allOptions(const QStringList &commandOptions)
{
    QList<QCommandLineOption> options = globalOptions();
    for (const QString &name : commandOptions)
        options << commandOption(name);
    options << QCommandLineOption({ QStringLiteral("h"), QStringLiteral("help") }, VexaCli::tr("显示帮助"));
    return options;
}

void addOptions(QCommandLineParser &parser, const QStringList &commandOptions)
{
    parser.addOptions(allOptions(commandOptions));
}

QString usageLine(const QString &syntax)
{
    return CliHelp::wrapped(VexaCli::tr("用法: %1").arg(QStringLiteral("vexa-cli [TARGET] ") + syntax), 0);
}

QString toolHelp()
{
    using CliHelp::wrapped;
    QString text = usageLine(QStringLiteral("COMMAND [ARGS]")) + QLatin1Char('\n');
    text += wrapped(VexaCli::tr("配置、读取和维护仪表;默认目标为当前目录的config.ini,与配置助手相同。"), 0)
        + QLatin1Char('\n');
    text += VexaCli::tr("命令:") + QLatin1Char('\n');
    for (const CommandInfo &command : commands())
        text += wrapped(QLatin1String(command.syntax), 2) + wrapped(VexaCli::tr(command.summary), 6);
    text += QLatin1Char('\n')
        + wrapped(
            VexaCli::tr("退出状态: 0 成功, 1 用法或参数错误, 2 连接错误, 3 设备拒绝, 4 文件错误, 5 diff发现不同"), 0)
        + QLatin1Char('\n');
    text += VexaCli::tr("选项:") + QLatin1Char('\n') + CliHelp::options(allOptions({})) + QLatin1Char('\n');
    text += wrapped(VexaCli::tr("每个命令的帮助: vexa-cli COMMAND --help"), 0);
    return text;
}

QString commandHelp(const CommandInfo &command)
{
    QString text = usageLine(QLatin1String(command.syntax)) + QLatin1Char('\n');
    text += CliHelp::wrapped(VexaCli::tr(command.summary), 0) + QLatin1Char('\n');
    text += VexaCli::tr("选项:") + QLatin1Char('\n') + CliHelp::options(allOptions(command.options));
    return text;
}

int usageError(const QString &message, const QString &command = QString())
{
    printErr(QStringLiteral("vexa-cli: %1\n").arg(message));
    printErr(command.isEmpty() ? VexaCli::tr("用法见 vexa-cli --help") + QLatin1Char('\n')
                               : VexaCli::tr("用法见 vexa-cli %1 --help").arg(command) + QLatin1Char('\n'));
    return CliUsage;
}

bool parsePositive(const QString &text, int low, int high, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok, 10);
    return ok && *value >= low && *value <= high;
}

// --send / --send-hex with --eol, as the bytes to send. Empty on success.
QString sendOption(const QCommandLineParser &parser, CliOptions *options)
{
    options->reconnect = parser.isSet(QStringLiteral("reconnect"));
    const bool text = parser.isSet(QStringLiteral("send"));
    const bool hex = parser.isSet(QStringLiteral("send-hex"));
    if (text && hex)
        return VexaCli::tr("--send和--send-hex只能选一个");
    SendRequest request;
    if (parser.isSet(QStringLiteral("eol")) && !lineEndFromKey(parser.value(QStringLiteral("eol")), &request.lineEnd))
        return VexaCli::tr("无效的行尾: %1").arg(parser.value(QStringLiteral("eol")));
    if (!text && !hex)
        return parser.isSet(QStringLiteral("eol")) ? VexaCli::tr("--eol只用于--send或--send-hex") : QString();
    request.mode = hex ? SendMode::Hex : SendMode::Text;
    request.text = parser.value(hex ? QStringLiteral("send-hex") : QStringLiteral("send"));
    const SendPayload payload = buildSendPayload(request);
    options->send = payload.bytes;
    return payload.error;
}

// Builds the single target from --udp / --serial / config.ini. Empty on success.
QString singleTarget(const QCommandLineParser &parser, CliTarget *target)
{
    LinkSettings &link = target->link;
    if (parser.isSet(QStringLiteral("udp"))) {
        target->name = parser.value(QStringLiteral("udp"));
        const QString error = parseUdpTarget(parser.value(QStringLiteral("udp")), &link);
        if (!error.isEmpty())
            return error;
    } else if (parser.isSet(QStringLiteral("serial"))) {
        target->name = parser.value(QStringLiteral("serial"));
        link.useUdp = false;
        link.serial.port = parser.value(QStringLiteral("serial"));
        if (link.serial.port.isEmpty())
            return VexaCli::tr("缺少串口名");
        if (parser.isSet(QStringLiteral("baud"))
            && !parsePositive(parser.value(QStringLiteral("baud")), 1, 4000000, &link.serial.baudRate))
            return VexaCli::tr("无效的波特率: %1").arg(parser.value(QStringLiteral("baud")));
        if (parser.isSet(QStringLiteral("data-bits"))
            && !parseDataBits(parser.value(QStringLiteral("data-bits")), &link.serial.dataBits))
            return VexaCli::tr("无效的数据位: %1").arg(parser.value(QStringLiteral("data-bits")));
        if (parser.isSet(QStringLiteral("parity"))
            && !parseParity(parser.value(QStringLiteral("parity")), &link.serial.parity))
            return VexaCli::tr("无效的校验: %1").arg(parser.value(QStringLiteral("parity")));
        if (parser.isSet(QStringLiteral("stop-bits"))
            && !parseStopBits(parser.value(QStringLiteral("stop-bits")), &link.serial.stopBits))
            return VexaCli::tr("无效的停止位: %1").arg(parser.value(QStringLiteral("stop-bits")));
        link.serial.sendRts = parser.isSet(QStringLiteral("rts"));
    } else {
        target->name = QStringLiteral("config.ini");
        link = storedLinkSettings();
        singleton<Config>::release();
    }
    if (parser.isSet(QStringLiteral("address"))
        && !parseDeviceAddress(parser.value(QStringLiteral("address")), &link.deviceAddress))
        return VexaCli::tr("无效的设备地址: %1").arg(parser.value(QStringLiteral("address")));
    return {};
}

// Checks the command's own arguments before any meter is reached; returns
// the exit status (CliOk to go on) and prints the error.
int checkCommandArguments(CliOptions &options)
{
    const int count = options.arguments.size();
    if (options.command == QLatin1String("set")) {
        if (count == 0)
            return usageError(VexaCli::tr("缺少 INDEX=VALUE 或 NAME=VALUE"), options.command);
        QSet<QString> seen;
        for (const QString &argument : options.arguments) {
            const CliAssignment assignment = CliAssignment::parse(argument);
            if (!assignment.isValid())
                return usageError(
                    VexaCli::tr("应为 INDEX=VALUE(INDEX为0..254)或 NAME=VALUE: %1").arg(argument), options.command);
            const QString key = assignment.byName() ? assignment.name : QString::number(assignment.index);
            if (seen.contains(key))
                return usageError(VexaCli::tr("配置项%1重复出现").arg(key), options.command);
            seen.insert(key);
        }
        return CliOk;
    }
    if (options.command == QLatin1String("apply") || options.command == QLatin1String("diff")) {
        if (count != 1)
            return usageError(VexaCli::tr("需要一个文件"), options.command);
        const ItemImport import = importItems(options.arguments.at(0), IdentificationValues::Keep);
        if (!import.error.isEmpty()) {
            printErr(QStringLiteral("vexa-cli: %1\n").arg(import.error));
            return CliFileError;
        }
        return CliOk;
    }
    const bool single = options.command == QLatin1String("report") || options.command == QLatin1String("monitor")
        || options.command == QLatin1String("search");
    if (single && options.fleet)
        return usageError(VexaCli::tr("该命令只用于一台设备"), options.command);
    // Drawn files are one meter's; a fleet's history goes to one CSV file per meter.
    if (options.fleet && (!options.pdf.isEmpty() || !options.chart.isEmpty()))
        return usageError(VexaCli::tr("--pdf和--chart不能与--targets同用"), options.command);
    if (options.command == QLatin1String("flash")) {
        if (count != 1)
            return usageError(VexaCli::tr("需要一个文件"), options.command);
        if (!QFileInfo(options.arguments.at(0)).isFile()) {
            printErr(
                QStringLiteral("vexa-cli: %1\n")
                    .arg(QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(options.arguments.at(0))));
            return CliFileError;
        }
        const QString error = readFirmwarePackage(options.arguments.at(0), &options.package);
        if (!error.isEmpty()) {
            printErr(QStringLiteral("vexa-cli: %1\n").arg(error));
            return CliFileError;
        }
        return CliOk;
    }
    if (options.hex && options.both)
        return usageError(VexaCli::tr("--hex和--both只能选一个"), options.command);
    if (options.command == QLatin1String("history") || options.command == QLatin1String("report")) {
        QString error = checkHistoryDates(options.arguments);
        if (error.isEmpty() && options.command == QLatin1String("report"))
            error = options.output.isEmpty() ? VexaCli::tr("需要 -o FILE.pdf") : checkRenderFile(options.output, true);
        if (error.isEmpty() && !options.chart.isEmpty())
            error = checkRenderFile(options.chart, false);
        if (!error.isEmpty())
            return usageError(error, options.command);
        // Drawn files replace their target: only a regular file may be there.
        const QString drawn = options.command == QLatin1String("report") ? options.output : options.chart;
        const QString refused = drawn.isEmpty()
            ? QString()
            : OutputFile::checkTarget(drawn, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
        if (!refused.isEmpty()) {
            printErr(QStringLiteral("vexa-cli: %1\n%2\n")
                         .arg(QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(drawn), refused));
            return CliFileError;
        }
        return CliOk;
    }
    if (count != 0)
        return usageError(VexaCli::tr("多余的参数: %1").arg(options.arguments.join(QLatin1Char(' '))), options.command);
    return CliOk;
}

void printReports(const QVector<MeterReport> &reports, const CliOptions &options)
{
    for (const MeterReport &report : reports) {
        if (options.json) {
            writeOutBytes(QJsonDocument(report.json).toJson(QJsonDocument::Compact) + '\n');
            continue;
        }
        if (!options.fleet) {
            printOut(report.out);
            continue;
        }
        const QStringList lines = report.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines)
            printOut(QStringLiteral("%1: %2\n").arg(report.name, line));
    }
    if (!options.fleet) {
        if (!reports.isEmpty() && !reports.first().error.isEmpty())
            printErr(QStringLiteral("vexa-cli: %1\n").arg(reports.first().error));
        return;
    }
    QStringList failures;
    QStringList skipped;
    QStringList notStarted;
    for (const MeterReport &report : reports) {
        if (report.outcome == FleetOutcome::Skipped)
            skipped << QStringLiteral("  %1: %2").arg(report.name, report.error);
        else if (report.outcome == FleetOutcome::NotStarted)
            notStarted << QStringLiteral("  %1").arg(report.name);
        else if (report.exit != CliOk)
            failures << QStringLiteral("  %1: %2 (%3)").arg(report.name, report.error).arg(report.exit);
    }
    if (!failures.isEmpty()) {
        printErr(
            VexaCli::tr("%1台设备中%2台失败:", nullptr, int(reports.size())).arg(reports.size()).arg(failures.size())
            + QLatin1Char('\n'));
        printErr(failures.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
    if (!skipped.isEmpty()) {
        printErr(VexaCli::tr("跳过%1台设备:", nullptr, int(skipped.size())).arg(skipped.size()) + QLatin1Char('\n'));
        printErr(skipped.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
    if (!notStarted.isEmpty()) {
        printErr(VexaCli::tr("失败达到上限,%1台设备未开始:", nullptr, int(notStarted.size())).arg(notStarted.size())
            + QLatin1Char('\n'));
        printErr(notStarted.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

int runCommand(const QStringList &arguments);

} // namespace

namespace {

QString installedLanguage;

} // namespace

QString installedCliLanguage()
{
    return installedLanguage;
}

QString installCliTranslation()
{
    QString language = qEnvironmentVariable("LC_ALL");
    if (language.isEmpty())
        language = qEnvironmentVariable("LC_MESSAGES");
    if (language.isEmpty())
        language = qEnvironmentVariable("LANG");
    QString code = QStringLiteral("en_US");
    if (language.startsWith(QLatin1String("zh_TW")) || language.startsWith(QLatin1String("zh_HK")))
        code = QStringLiteral("zh_TW");
    else if (language.startsWith(QLatin1String("zh")))
        code = QStringLiteral("zh_CH"); // the source texts
    // The same places as the window: working directory, installed folder, beside the program.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (loadProgramTranslation(*translator, code))
        QCoreApplication::installTranslator(translator);
    // The option parser's own messages come from the toolkit's translations
    // where the system has them; its built-in texts are English.
    if (code != QLatin1String("en_US")) {
        auto *toolkit = new QTranslator(QCoreApplication::instance());
        const QString name
            = code == QLatin1String("zh_TW") ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN");
        if (toolkit->load(name, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(toolkit);
    }
    return installedLanguage = code;
}

int runCli(const QStringList &arguments)
{
    int exit = runCommand(arguments);
    // Output that did not arrive is no success, whatever the meter did.
    const QString failed = outFailure();
    if (!failed.isEmpty()) {
        printErr(QStringLiteral("vexa-cli: %1\n").arg(VexaCli::tr("写入标准输出失败: %1").arg(failed)));
        exit = worseExit(exit, CliFileError);
    }
    return exit;
}

namespace {

int runCommand(const QStringList &arguments)
{
    // First pass with every option, so option values are not taken for the command.
    QCommandLineParser all;
    QStringList everyOption;
    for (const CommandInfo &command : commands())
        everyOption += command.options;
    everyOption.removeDuplicates();
    addOptions(all, everyOption);
    all.addOption({ { QStringLiteral("v"), QStringLiteral("version") }, VexaCli::tr("显示版本") });
    all.addPositionalArgument(QStringLiteral("COMMAND"), VexaCli::tr("命令"), QStringLiteral("COMMAND [ARGS]"));
    if (!all.parse(arguments))
        return usageError(all.errorText());
    if (all.isSet(QStringLiteral("version"))) {
        printOut(QStringLiteral("vexa-cli%1\n").arg(QStringLiteral(VEXA_VERSION_TEXT)));
        return CliOk;
    }
    const QStringList positional = all.positionalArguments();
    if (positional.isEmpty()) {
        if (all.isSet(QStringLiteral("help"))) {
            printOut(toolHelp());
            return CliOk;
        }
        return usageError(VexaCli::tr("缺少命令"));
    }

    CliOptions options;
    options.command = positional.first();
    const CommandInfo *info = nullptr;
    const QList<CommandInfo> known = commands();
    for (const CommandInfo &command : known) {
        if (options.command == QLatin1String(command.name))
            info = &command;
    }
    if (!info)
        return usageError(VexaCli::tr("未知的命令: %1").arg(options.command));

    QCommandLineParser parser;
    addOptions(parser, info->options);
    parser.addPositionalArgument(options.command, VexaCli::tr(info->summary), QLatin1String(info->syntax));
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), options.command);
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(commandHelp(*info));
        return CliOk;
    }
    options.arguments = parser.positionalArguments().mid(1);
    options.json = parser.isSet(QStringLiteral("json"));
    options.dryRun = info->options.contains(QStringLiteral("dry-run")) && parser.isSet(QStringLiteral("dry-run"));
    options.all = info->options.contains(QStringLiteral("all")) && parser.isSet(QStringLiteral("all"));
    options.output
        = info->options.contains(QStringLiteral("output")) ? parser.value(QStringLiteral("output")) : QString();
    options.pdf = info->options.contains(QStringLiteral("pdf")) ? parser.value(QStringLiteral("pdf")) : QString();
    options.chart = info->options.contains(QStringLiteral("chart")) ? parser.value(QStringLiteral("chart")) : QString();
    options.hex = info->options.contains(QStringLiteral("hex")) && parser.isSet(QStringLiteral("hex"));
    options.both = info->options.contains(QStringLiteral("both")) && parser.isSet(QStringLiteral("both"));
    options.noDebug = info->options.contains(QStringLiteral("no-debug")) && parser.isSet(QStringLiteral("no-debug"));
    if (info->options.contains(QStringLiteral("send"))) {
        const QString error = sendOption(parser, &options);
        if (!error.isEmpty())
            return usageError(error, options.command);
    }
    options.allowEmpty
        = info->options.contains(QStringLiteral("allow-empty")) && parser.isSet(QStringLiteral("allow-empty"));
    options.trigger = info->options.contains(QStringLiteral("trigger")) && parser.isSet(QStringLiteral("trigger"));
    options.noBackup = info->options.contains(QStringLiteral("no-backup")) && parser.isSet(QStringLiteral("no-backup"));
    options.skipModelMismatch = info->options.contains(QStringLiteral("skip-model-mismatch"))
        && parser.isSet(QStringLiteral("skip-model-mismatch"));
    if (parser.isSet(QStringLiteral("timeout"))
        && !parsePositive(parser.value(QStringLiteral("timeout")), 1, 600000, &options.timeoutMs))
        return usageError(
            VexaCli::tr("无效的等待时间: %1").arg(parser.value(QStringLiteral("timeout"))), options.command);
    if (info->options.contains(QStringLiteral("seconds")) && parser.isSet(QStringLiteral("seconds"))
        && !parsePositive(parser.value(QStringLiteral("seconds")), 1, 86400, &options.seconds))
        return usageError(VexaCli::tr("无效的秒数: %1").arg(parser.value(QStringLiteral("seconds"))), options.command);
    options.fleet = parser.isSet(QStringLiteral("targets"));

    const int ways = int(parser.isSet(QStringLiteral("udp"))) + int(parser.isSet(QStringLiteral("serial")))
        + int(parser.isSet(QStringLiteral("targets")));
    if (ways > 1)
        return usageError(VexaCli::tr("--udp、--serial和--targets只能选一个"), options.command);
    if (!parser.isSet(QStringLiteral("serial"))) {
        for (const char *name : { "baud", "data-bits", "parity", "stop-bits", "rts" }) {
            if (parser.isSet(QLatin1String(name)))
                return usageError(VexaCli::tr("--%1只用于--serial").arg(QLatin1String(name)), options.command);
        }
    }
    int jobs = 8;
    if (parser.isSet(QStringLiteral("jobs")) && !parsePositive(parser.value(QStringLiteral("jobs")), 1, 256, &jobs))
        return usageError(VexaCli::tr("无效的并行数: %1").arg(parser.value(QStringLiteral("jobs"))), options.command);
    if (parser.isSet(QStringLiteral("max-failures"))
        && !parsePositive(parser.value(QStringLiteral("max-failures")), 1, MeterList::kMaxMeters, &options.maxFailures))
        return usageError(
            VexaCli::tr("无效的失败数: %1").arg(parser.value(QStringLiteral("max-failures"))), options.command);
    if (options.fleet && parser.isSet(QStringLiteral("address")))
        return usageError(VexaCli::tr("--address不能与--targets同用,地址写在目标文件中"), options.command);

    const int checked = checkCommandArguments(options);
    if (checked != CliOk)
        return checked;

    QVector<CliTarget> targets;
    QStringList unreadLines; // served without them, but the run does not end well
    if (options.fleet) {
        bool missing = false;
        const QString error
            = readTargetsFile(parser.value(QStringLiteral("targets")), &targets, &unreadLines, &missing);
        for (const QString &problem : qAsConst(unreadLines))
            printErr(QStringLiteral("vexa-cli: %1\n").arg(problem));
        if (!error.isEmpty()) {
            printErr(QStringLiteral("vexa-cli: %1\n").arg(error));
            return CliFileError;
        }
        const bool filePerMeter
            = options.command == QLatin1String("items") || options.command == QLatin1String("history");
        if (filePerMeter && !options.json) {
            const QString dir = options.output.isEmpty() ? QStringLiteral(".") : options.output;
            if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir()) {
                printErr(QStringLiteral("vexa-cli: %1\n").arg(VexaCli::tr("无法创建文件夹: %1").arg(dir)));
                return CliFileError;
            }
        }
    } else {
        CliTarget target;
        const QString error = singleTarget(parser, &target);
        if (!error.isEmpty())
            return usageError(error, options.command);
        targets << target;
    }

    CliProgress progress(isatty(STDERR_FILENO) == 1);
    Journal journal;
    QVector<MeterReport> reports;
    if (options.fleet) {
        reports = runFleet(targets, options, jobs, journal, &progress);
    } else {
        CliMeterJob job(targets.first(), options, journal, &progress);
        reports << job.run();
        progress.clear();
    }
    printReports(reports, options);
    int exit = unreadLines.isEmpty() ? CliOk : CliFileError;
    for (const MeterReport &report : qAsConst(reports))
        exit = worseExit(exit, report.exit);
    return exit;
}

} // namespace
