#include "firmware/packagewriter.h"
#include "items/journal.h"
#include "items/journalreader.h"
#include "link/devicechannel.h"
#include "sim/debugresponder.h"
#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/ptypair.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

struct Run
{
    int exit = -1;
    QString out;
    QString err;
};

// vexa-cli as a user runs it: a separate process in the working directory.
// `wrapper` runs it through another program (setpriv, sh), `standardOutput`
// sends its stdout to a file instead of the pipe.
Run cli(const QStringList &arguments, const QString &language = QStringLiteral("zh_CN.UTF-8"),
    const QStringList &wrapper = {}, const QString &standardOutput = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LANG", language);
    environment.remove("LC_ALL");
    environment.remove("LC_MESSAGES");
    process.setProcessEnvironment(environment);
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    if (wrapper.isEmpty())
        process.start(QStringLiteral(VEXA_BIN_DIR "/vexa-cli"), arguments);
    else
        process.start(wrapper.first(), wrapper.mid(1) + QStringList { VEXA_BIN_DIR "/vexa-cli" } + arguments);
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
}

QString udp(const SimRunner &meter)
{
    return QStringLiteral("127.0.0.1:%1").arg(meter.udpPort());
}

QStringList at(const SimRunner &meter)
{
    return { "--udp", udp(meter), "--address", QString::number(meter.address()) };
}

// The meter over UDP or its pseudo-terminal.
QStringList on(const SimRunner &meter, const QString &line)
{
    if (line == QLatin1String("udp"))
        return at(meter);
    return { "--serial", meter.ptyPath(), "--baud", "115200", "--address", QString::number(meter.address()) };
}

// "@meter" in an argument list stands for the simulated meter over UDP.
QStringList withMeter(QStringList arguments, const SimRunner &meter)
{
    const int at = arguments.indexOf("@meter");
    if (at >= 0) {
        arguments.removeAt(at);
        const QStringList target = { "--udp", udp(meter), "--address", QString::number(meter.address()) };
        for (int i = target.size() - 1; i >= 0; --i)
            arguments.insert(at, target.at(i));
    }
    return arguments;
}

// A device node like /dev/full, but in a folder of the test: whatever the
// program does to it, no real device is touched. Without root, /dev/full
// itself (which a plain user cannot replace).
QString deviceNode(const TempWorkDir &dir)
{
    const QString path = dir.filePath("device");
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        return path;
    return "/dev/full";
}

// A meter that, once asked, sends `piece` over and over on a pseudo-terminal,
// as fast as it is read, until it is destroyed: a history answer that never
// ends.
class EndlessPtyMeter
{
public:
    explicit EndlessPtyMeter(const QByteArray &piece)
        : m_piece(piece)
        , m_writer([this] { run(); })
    {
    }
    ~EndlessPtyMeter()
    {
        m_stop = true;
        m_writer.join();
    }
    QString path() const { return m_pty.slavePath(); }

private:
    void run()
    {
        // The request first: what came before it is dropped by the program.
        pollfd asked { m_pty.masterFd(), POLLIN, 0 };
        while (!m_stop && ::poll(&asked, 1, 20) <= 0) { }
        m_pty.drainMaster();
        qint64 offset = 0;
        while (!m_stop) {
            const ssize_t written
                = ::write(m_pty.masterFd(), m_piece.constData() + offset, size_t(m_piece.size() - offset));
            if (written > 0) {
                offset = (offset + written) % m_piece.size();
                continue;
            }
            pollfd pfd { m_pty.masterFd(), POLLOUT, 0 };
            ::poll(&pfd, 1, 20);
        }
    }

    PtyPair m_pty;
    QByteArray m_piece;
    std::atomic<bool> m_stop { false };
    std::thread m_writer;
};

int writeCount(const SimRunner &meter)
{
    int count = 0;
    for (const SimRequest &request : meter.receivedRequests())
        count += request.isItemWrite() ? 1 : 0;
    return count;
}

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new TempWorkDir);
        SimTransportOptions options;
        options.pty = true;
        m_meter.reset(new SimRunner(SimProfile::demo(), options));
        QVERIFY(m_meter->isStarted());
    }
    void cleanup()
    {
        m_meter.reset();
        m_dir.reset();
    }

    void badInputIsAUsageError_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList { "frobnicate" };
        QTest::newRow("unknown option") << QStringList { "items", "--colour" };
        QTest::newRow("option of another command") << QStringList { "clock", "--dry-run" };
        QTest::newRow("set without value") << QStringList { "set", "5" };
        QTest::newRow("set index 255") << QStringList { "set", "255=1" };
        QTest::newRow("set index twice") << QStringList { "set", "5=1", "5=2" };
        QTest::newRow("set name twice") << QStringList { "set", "波特率=1", "波特率=2" };
        QTest::newRow("set index of four digits") << QStringList { "set", "0005=1" };
        QTest::newRow("set without a name") << QStringList { "set", "=1" };
        QTest::newRow("timeout 0") << QStringList { "--timeout", "0", "items" };
        QTest::newRow("baud without serial") << QStringList { "--baud", "9600", "items" };
        QTest::newRow("two targets") << QStringList { "--udp", "127.0.0.1:1", "--serial", "x", "items" };
        QTest::newRow("bad udp") << QStringList { "--udp", "localhost", "items" };
        QTest::newRow("address 0") << QStringList { "--udp", "127.0.0.1:1", "--address", "0", "items" };
        QTest::newRow("jobs 0") << QStringList { "--jobs", "0", "items" };
        QTest::newRow("max-failures 0") << QStringList { "--max-failures", "0", "items" };
        QTest::newRow("fleet history as a chart")
            << QStringList { "--targets", "site.txt", "history", "2026-02-01", "2026-02-02", "--chart", "h.png" };
        QTest::newRow("skip models of another command") << QStringList { "items", "--skip-model-mismatch" };
        QTest::newRow("parity") << QStringList { "--serial", "x", "--parity", "odd-ish", "items" };
        QTest::newRow("extra argument") << QStringList { "clock", "now" };
        QTest::newRow("history dates reversed") << QStringList { "history", "2026-02-01", "2024-06-01" };
        QTest::newRow("hex and both") << QStringList { "monitor", "--hex", "--both" };
        QTest::newRow("seconds 0") << QStringList { "monitor", "--seconds", "0" };
        QTest::newRow("send and send-hex") << QStringList { "monitor", "--send", "a", "--send-hex", "61" };
        QTest::newRow("bad line end") << QStringList { "monitor", "--send", "a", "--eol", "cr-lf" };
        QTest::newRow("line end alone") << QStringList { "monitor", "--eol", "cr" };
        QTest::newRow("bad hex") << QStringList { "monitor", "--send-hex", "01 0G" };
        QTest::newRow("history bad date") << QStringList { "history", "2026-02-30", "2026-03-01" };
        QTest::newRow("chart of another kind")
            << QStringList { "history", "2026-02-01", "2026-02-02", "--chart", "c.svg" };
        QTest::newRow("report without file") << QStringList { "report", "2026-02-01", "2026-02-02" };
        QTest::newRow("report not a PDF") << QStringList { "report", "2026-02-01", "2026-02-02", "-o", "r.png" };
    }
    void badInputIsAUsageError()
    {
        QFETCH(QStringList, arguments);
        const Run run = cli(arguments);
        QCOMPARE(run.exit, 1);
        QCOMPARE(run.out, QString());
        const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith("vexa-cli: "));
        QVERIFY(lines.at(1).contains("--help"));
        QVERIFY(m_meter->receivedFrames().isEmpty());
    }

    void helpListsEveryCommand_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("commands"); // the title over the command list
        QTest::newRow("English") << "C.UTF-8"
                                 << "Commands:";
        QTest::newRow("Simplified Chinese") << "zh_CN.UTF-8"
                                            << "命令:";
        QTest::newRow("Traditional Chinese") << "zh_TW.UTF-8"
                                             << "指令：";
    }
    void helpListsEveryCommand()
    {
        QFETCH(QString, language);
        QFETCH(QString, commands);
        const Run run = cli({ "--help" }, language);
        QCOMPARE(run.exit, 0);
        QVERIFY2(run.out.contains("\n" + commands + "\n"), qPrintable(run.out));
        for (const char *command : { "items", "set INDEX=VALUE|NAME=VALUE", "apply FILE", "clock", "--timeout <MS>" })
            QVERIFY2(run.out.contains(QLatin1String(command)), command);
        const Run set = cli({ "set", "--help" }, language);
        QCOMPARE(set.exit, 0);
        QVERIFY(set.out.contains("--trigger"));
        // A terminal of 80 columns: a Chinese character takes two.
        for (const QString &line : (run.out + set.out).split('\n')) {
            int columns = 0;
            for (const QChar c : line)
                columns += c.unicode() >= 0x2E80 ? 2 : 1;
            QVERIFY2(columns <= 80, qPrintable(line));
        }
    }

    void parserErrorsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("error");
        QTest::newRow("English") << "C.UTF-8"
                                 << "vexa-cli: Unknown option 'colour'.";
        QTest::newRow("Simplified Chinese") << "zh_CN.UTF-8"
                                            << "vexa-cli: 未知选项“colour”。";
    }
    void parserErrorsFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, error);
        if (!QFile::exists(QLibraryInfo::location(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
            QSKIP("the toolkit's translations are not installed (qttranslations5-l10n)");
        const Run run = cli({ "items", "--colour" }, language);
        QCOMPARE(run.exit, 1);
        QCOMPARE(run.err.section('\n', 0, 0), error);
    }

    void itemsOverUdpAndSerial()
    {
        // Both numbers under their titles: the window's row and the item index.
        const Run run = cli(at(*m_meter) << "items");
        QCOMPARE(run.exit, 0);
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), SimProfile::demo().items.size() + 1);
        QCOMPARE(lines.at(0), QStringLiteral("行号  配置项序号  名称: 值"));
        QCOMPARE(lines.at(6), QStringLiteral("06    05          波特率(2400/4800/9600/19200/38400): 9600"));

        const Run serial = cli({ "--serial", m_meter->ptyPath(), "--address", "1", "items", "-o", "items.csv" });
        QCOMPARE(serial.exit, 0);
        const QStringList csv = QString::fromUtf8(m_dir->readFile("items.csv")).split('\n');
        QCOMPARE(csv.size(), SimProfile::demo().items.size() + 1);
        QCOMPARE(csv.at(5), QStringLiteral("05. 波特率(2400/4800/9600/19200/38400), 9600"));

        const Run json = cli(at(*m_meter) << "items"
                                          << "--json");
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(object.value("ok").toBool(), true);
        QCOMPARE(object.value("items").toArray().size(), SimProfile::demo().items.size());
        QCOMPARE(object.value("items").toArray().at(5).toObject().value("row").toInt(), 6);
    }

    void rowsFollowTheSkipFile()
    {
        // The window hides the name and model rows named in SkipItems, and
        // numbers the rows it shows: so does the command line.
        m_dir->writeFile("SkipItems", "VX-200 智能流量积算仪,VX-200\n");
        const Run run = cli(at(*m_meter) << "items"
                                         << "--json");
        const QJsonArray items = QJsonDocument::fromJson(run.out.toUtf8()).object().value("items").toArray();
        QCOMPARE(items.at(0).toObject().value("row").toInt(), 0);
        QCOMPARE(items.at(1).toObject().value("row").toInt(), 0);
        QCOMPARE(items.at(5).toObject().value("row").toInt(), 4);
        const QStringList lines = cli(at(*m_meter) << "items", "C.UTF-8").out.split('\n');
        QCOMPARE(lines.at(0), QStringLiteral("Row  Index  Name: value"));
        QVERIFY2(lines.at(1).startsWith("--   00"), qPrintable(lines.at(1)));
        QVERIFY2(lines.at(6).startsWith("04   05"), qPrintable(lines.at(6)));
    }

    void setByName_data()
    {
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("shown"); // stdout, or the first line of stderr
        QTest::addColumn<QString>("holds"); // INDEX=VALUE the meter holds afterwards
        QTest::newRow("whole name") << QStringList { "波特率(2400/4800/9600/19200/38400)=19200" } << 0
                                    << "05. 波特率(2400/4800/9600/19200/38400): 19200\n"
                                    << "5=19200";
        QTest::newRow("start of a name") << QStringList { "波特=38400" } << 0
                                         << "05. 波特率(2400/4800/9600/19200/38400): 38400\n"
                                         << "5=38400";
        QTest::newRow("any case, with an index")
            << QStringList { "ip=10.0.0.9", "12=8300" } << 0 << "09. IP地址: 10.0.0.9\n12. 本地端口: 8300\n"
            << "9=10.0.0.9";
        QTest::newRow("ambiguous") << QStringList { "量程=1" } << 1
                                   << "vexa-cli: “量程”对应多个配置项,请写出更多字或使用配置项序号: 配置项序号17 "
                                      "量程下限; 配置项序号18 量程上限"
                                   << "17=0.000";
        QTest::newRow("no such name") << QStringList { "温度=1" } << 1 << "vexa-cli: 设备没有名称以“温度”开头的配置项"
                                      << "5=9600";
        QTest::newRow("two names for one item")
            << QStringList { "波特=19200", "5=2400" } << 1 << "vexa-cli: 配置项5重复出现"
            << "5=9600";
    }
    void setByName()
    {
        QFETCH(QStringList, assignments);
        QFETCH(int, exit);
        QFETCH(QString, shown);
        QFETCH(QString, holds);
        const Run run = cli(at(*m_meter) << "set" << assignments);
        QVERIFY2(run.exit == exit, qPrintable(run.err));
        QCOMPARE(exit == 0 ? run.out : run.err.section('\n', 0, 0), shown);
        QCOMPARE(m_meter->items().at(holds.section('=', 0, 0).toInt()).value, holds.section('=', 1));
        if (exit != 0)
            QCOMPARE(writeCount(*m_meter), 0);
    }

    void emptyValuesAndCommandsOnlyWhenAskedFor_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit");
        QTest::addColumn<int>("writes");
        QTest::newRow("empty value") << QStringList { "set", "网关=" } << 1 << 0;
        QTest::newRow("empty value asked for") << QStringList { "set", "--allow-empty", "网关=" } << 0 << 1;
        QTest::newRow("command") << QStringList { "set", "27=" } << 1 << 0;
        QTest::newRow("command by name") << QStringList { "set", "恢复出厂=" } << 1 << 0;
        QTest::newRow("command asked for") << QStringList { "set", "--trigger", "恢复出厂=" } << 0 << 1;
        QTest::newRow("command with a value") << QStringList { "set", "--trigger", "27=1" } << 1 << 0;
    }
    void emptyValuesAndCommandsOnlyWhenAskedFor()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit);
        QFETCH(int, writes);
        const Run run = cli(at(*m_meter) + arguments);
        QVERIFY2(run.exit == exit, qPrintable(run.err));
        QCOMPARE(writeCount(*m_meter), writes);
        if (exit != 0)
            QVERIFY2(run.err.contains(arguments.contains("27=1") ? "不带值" : "请加--"), qPrintable(run.err));
    }

    void linkFailureIsStatus2()
    {
        const Run run = cli({ "--serial", m_dir->filePath("no-tty"), "clock" });
        QCOMPARE(run.exit, 2);
        // The system's reason and what to check follow, as in the window.
        const QStringList lines = run.err.split('\n');
        QCOMPARE(lines.at(0), QStringLiteral("vexa-cli: 打开串口失败: %1").arg(m_dir->filePath("no-tty")));
        QVERIFY2(lines.value(1).startsWith(m_dir->filePath("no-tty")), qPrintable(run.err));
        QVERIFY2(lines.value(1).contains("(No such file or directory): 请检查端口名称"), qPrintable(run.err));
    }

    void timeOutNamesTheTargetAndHonoursTimeout()
    {
        // A slow or silent line: --timeout shortens each wait, and the message
        // says which target and address were tried and what to check.
        m_meter->addFault("silent,match=any,times=all");
        QElapsedTimer timer;
        timer.start();
        const Run run = cli(at(*m_meter) << "--timeout"
                                         << "300"
                                         << "items",
            "C.UTF-8");
        QCOMPARE(run.exit, 2);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        const QStringList lines = run.err.split('\n');
        QVERIFY2(lines.at(0).startsWith("vexa-cli: ") && lines.at(0).contains("timed out"), qPrintable(run.err));
        QVERIFY2(lines.value(1).startsWith(QStringLiteral("UDP %1 · ").arg(udp(*m_meter))), qPrintable(run.err));
        QVERIFY2(lines.value(1).contains(QString::number(m_meter->address())), qPrintable(run.err));
    }

    void setWritesAndJournals()
    {
        const Run run = cli(at(*m_meter) << "set"
                                         << "5=19200"
                                         << "9=10.0.0.9");
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.out, QStringLiteral("05. 波特率(2400/4800/9600/19200/38400): 19200\n09. IP地址: 10.0.0.9\n"));
        QCOMPARE(m_meter->items().at(5).value, QStringLiteral("19200"));
        const QStringList journal = QString::fromUtf8(m_dir->readFile("journal.csv")).split("\r\n");
        QCOMPARE(journal.size(), 4); // header, two lines, nothing after the last line end
        QVERIFY(
            m_dir->readFile("journal.csv").startsWith("\xEF\xBB\xBFtime,connection,address,model,device_name,index"));
        QVERIFY(journal.at(1).contains(QStringLiteral(
            ",udp %1,1,VX-200,VX-200 智能流量积算仪,5,波特率(2400/4800/9600/19200/38400),9600,19200,19200,ok")
                                           .arg(udp(*m_meter))));
    }

    void aJournalThatIsAFifoDoesNotHoldTheRun()
    {
        // The write was sent: a FIFO named journal.csv must not hang the run.
        QVERIFY(::mkfifo(QFile::encodeName(m_dir->filePath("journal.csv")).constData(), 0600) == 0);
        const Run run = cli(at(*m_meter) << "set"
                                         << "5=19200");
        QCOMPARE(run.exit, 0);
        QCOMPARE(m_meter->items().at(5).value, QStringLiteral("19200"));
        QCOMPARE(run.err, QStringLiteral("无法写入记录文件journal.csv: 这是一个管道(FIFO),只能写入普通文件\n"));
    }

    void refusedValueIsStatus3_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("journaled");
        QTest::newRow("read-only item") << "2=V9"
                                        << "02. 软件版本: V2.3.1"
                                        << ",V2.3.1,V9,V2.3.1,refused,,\r\n";
        // The meter kept 9600: a part of it is no confirmation.
        QTest::newRow("value kept, request a part of it") << "5=960"
                                                          << "05. 波特率(2400/4800/9600/19200/38400): 9600"
                                                          << ",9600,960,9600,refused,,\r\n";
    }
    void refusedValueIsStatus3()
    {
        QFETCH(QString, assignment);
        QFETCH(QString, shown);
        QFETCH(QString, journaled);
        const Run run = cli(at(*m_meter) << "set" << assignment);
        QCOMPARE(run.exit, 3);
        QVERIFY(run.out.startsWith(shown));
        QVERIFY(QString::fromUtf8(m_dir->readFile("journal.csv")).contains(journaled));
    }

    void applyComparesFirst()
    {
        m_dir->writeFile("wanted.csv", "05. 波特率(2400/4800/9600/19200/38400), 38400\n09. IP地址, 192.168.1.120\n");
        QCOMPARE(cli(at(*m_meter) << "items"
                                  << "-o"
                                  << "before.csv")
                     .exit,
            0);
        const Run dry = cli(at(*m_meter) << "apply"
                                         << "wanted.csv"
                                         << "--dry-run");
        QCOMPARE(dry.exit, 0);
        QVERIFY(dry.out.startsWith(QStringLiteral("05. 波特率(2400/4800/9600/19200/38400): 9600 -> 38400\n")));
        QCOMPARE(writeCount(*m_meter), 0);
        QVERIFY(!QFile::exists(m_dir->filePath("journal.csv")));
        QVERIFY(!QFile::exists(m_dir->filePath("backups")));

        // The names of this second and the next two are taken: the backup
        // gets a suffix and replaces none of them.
        QVERIFY(QDir(m_dir->path()).mkdir("backups"));
        const QDateTime now = QDateTime::currentDateTime();
        for (int second = 0; second < 3; ++second) {
            const QString taken = "backups/VX-200_" + now.addSecs(second).toString("yyyyMMdd-HHmmss");
            QVERIFY(m_dir->writeFile(taken + ".csv", "taken"));
            if (second == 0)
                QVERIFY(m_dir->writeFile(taken + "-2.csv", "taken"));
        }
        const Run apply = cli(at(*m_meter) << "apply"
                                           << "wanted.csv"
                                           << "--json");
        QCOMPARE(apply.exit, 0);
        QCOMPARE(writeCount(*m_meter), 1);
        QCOMPARE(m_meter->items().at(5).value, QStringLiteral("38400"));
        const QString backup = QJsonDocument::fromJson(apply.out.toUtf8()).object().value("backup").toString();
        QVERIFY2(QRegularExpression("^backups/VX-200_\\d{8}-\\d{6}-[23]\\.csv$").match(backup).hasMatch(),
            qPrintable(apply.out));
        // What the meter held before, as `items -o` writes it: importing it restores.
        QCOMPARE(m_dir->readFile(backup), m_dir->readFile("before.csv"));
        QCOMPARE(QDir(m_dir->filePath("backups")).entryList(QDir::Files).size(), 5);
        for (const QString &name : QDir(m_dir->filePath("backups")).entryList(QDir::Files)) {
            if ("backups/" + name != backup)
                QCOMPARE(m_dir->readFile("backups/" + name), QByteArray("taken"));
        }
        QVERIFY(m_dir->readFile("journal.csv").endsWith(",ok,," + backup.toUtf8() + "\r\n"));

        const Run all = cli(at(*m_meter) << "apply"
                                         << "wanted.csv"
                                         << "--all"
                                         << "--no-backup");
        QCOMPARE(all.exit, 0);
        QCOMPARE(writeCount(*m_meter), 3);
        QCOMPARE(QDir(m_dir->filePath("backups")).entryList(QDir::Files).size(), 5);
        QVERIFY(m_dir->readFile("journal.csv").endsWith(",ok,,\r\n"));
    }

    // diff: every item of either side, the differing ones first; nothing is written.
    void diffComparesWithoutWriting_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("edits"); // of the meter's own file: "-N" drops item N, "N=LINE", "+LINE"
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("out"); // stdout, or with --json the differences
        const QString baud = "波特率(2400/4800/9600/19200/38400)";
        QTest::newRow("equal") << "udp" << QStringList() << 0 << "0 项不同, 27 项相同\n";
        QTest::newRow("equal over the serial line") << "pty" << QStringList() << 0 << "0 项不同, 27 项相同\n";
        // A command has no value to differ, whatever the file says.
        QTest::newRow("command") << "udp" << QStringList { "27=27. 恢复出厂设置, 1" } << 0 << "0 项不同, 27 项相同\n";
        QTest::newRow("value and model row differ")
            << "udp" << QStringList { "5=05. " + baud + ", 38400", "1=01. 设备型号, VX-300" } << 5
            << "序号  名称                                设备值  文件值  结果\n"
               "01    设备型号                            VX-200  VX-300  不同\n"
               "05    "
                + baud + "  9600    38400   不同\n2 项不同, 25 项相同\n";
        QTest::newRow("json") << "udp"
                              << QStringList { "--json", "5=05. " + baud + ", 38400", "12=12. 端口, 8234", "-9",
                                     "+40. 新项, 7" }
                              << 5
                              << "[{\"file\":\"38400\",\"index\":5,\"meter\":\"9600\",\"name\":\"" + baud
                + "\",\"result\":\"different\"},"
                  "{\"file\":\"\",\"index\":9,\"meter\":\"192.168.1.120\",\"name\":\"IP地址\",\"result\":\"only-in-"
                  "meter\"},"
                  "{\"file\":\"8234\",\"file_name\":\"端口\",\"index\":12,\"meter\":\"8234\",\"name\":\"本地端口\","
                  "\"result\":\"different\"},"
                  "{\"file\":\"7\",\"index\":40,\"meter\":\"\",\"name\":\"新项\",\"result\":\"only-in-file\"}]";
        // The import's message with the line; the meter is not asked.
        QTest::newRow("file that does not parse") << "udp" << QStringList { "+30 新项, 7" } << 4 << "";
    }
    void diffComparesWithoutWriting()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, edits);
        QFETCH(int, exit);
        QFETCH(QString, out);
        QCOMPARE(cli(at(*m_meter) << "items"
                                  << "-o"
                                  << "mine.csv")
                     .exit,
            0);
        QStringList lines = QString::fromUtf8(m_dir->readFile("mine.csv")).split('\n', Qt::SkipEmptyParts);
        QStringList options;
        for (const QString &edit : edits) {
            if (edit.startsWith("--"))
                options << edit;
            else if (edit.startsWith('-'))
                lines.removeAt(edit.mid(1).toInt());
            else if (edit.startsWith('+'))
                lines << edit.mid(1);
            else
                lines[edit.section('=', 0, 0).toInt()] = edit.section('=', 1);
        }
        QVERIFY(m_dir->writeFile("diff.csv", lines.join('\n').toUtf8() + "\n"));
        m_meter->clearReceived();
        const Run run = cli(on(*m_meter, line) << "diff"
                                               << "diff.csv" << options);
        QVERIFY2(run.exit == exit, qPrintable(run.out + run.err));
        QCOMPARE(writeCount(*m_meter), 0);
        if (exit == 4) {
            QCOMPARE(run.err, QStringLiteral("vexa-cli: 文件解析错误\n第%1行\n").arg(lines.size()));
            QVERIFY(m_meter->receivedFrames().isEmpty());
        } else if (options.contains("--json")) {
            const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
            QCOMPARE(QJsonDocument(json.value("differences").toArray()).toJson(QJsonDocument::Compact), out.toUtf8());
            QCOMPARE(json.value("differing").toInt(), 4);
            QCOMPARE(json.value("same").toInt(), 24);
            QCOMPARE(json.value("exit").toInt(), 5);
        } else {
            QCOMPARE(run.out, out);
            QCOMPARE(run.err, QString());
        }
    }

    // Answers that come twice, late or not at all: every outcome is what the
    // meter proves, whatever else is on the line.
    void outcomesOnAChaoticLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("shown"); // pieces of stdout and stderr
        QTest::addColumn<QString>("journal"); // a piece of journal.csv
        QTest::addColumn<QString>("holds"); // INDEX=VALUE the meter holds afterwards
        QTest::addColumn<int>("maxMs");
        const QString unknown = QStringLiteral("结果未知：设备可能已接受该值，请重新读取确认");
        for (const QString line : { "udp", "pty" }) {
            // The pre-read's answer once more inside the write, before the write's own answer.
            QTest::addRow("%s: a copy of the read answer in the write", qPrintable(line))
                << line << QStringList { "set", "5=19200" }
                << QStringList { "duplicate,match=read,index=5,delay=50", "delay,match=write,index=5,delay=300" } << 0
                << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 19200\n" } << ",9600,19200,19200,ok,,\r\n"
                << "5=19200" << 4000;
            // The first write's answer once more inside the next item's pre-read.
            QTest::addRow("%s: a copy of the write answer in the next read", qPrintable(line))
                << line << QStringList { "set", "5=19200", "9=10.0.0.9" }
                << QStringList { "duplicate,match=write,index=5,delay=50", "delay,match=read,index=9,delay=300" } << 0
                << QStringList { "09. IP地址: 10.0.0.9\n" } << ",9,IP地址,192.168.1.120,10.0.0.9,10.0.0.9,ok,,\r\n"
                << "9=10.0.0.9" << 5000;
        }
        // The answer is lost, the value landed: the read-back says so.
        QTest::newRow("write answer lost, value taken")
            << "udp" << QStringList { "set", "5=19200" } << QStringList { "silent,match=write" } << 0
            << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 19200\n" } << ",9600,19200,19200,ok,,\r\n"
            << "5=19200" << 14000;
        QTest::newRow("write answer spoilt, read-back fails")
            << "pty" << QStringList { "set", "5=19200" }
            << QStringList { "bad-crc,match=write", "silent,match=read,after=3,times=all" } << 2
            << QStringList { "vexa-cli: CRC校验错误\n" + unknown + "\n" } << ",9600,19200,,unknown,,\r\n"
            << "5=19200" << 8000;
        // Nothing in the clock's answer is its own: it may have been set.
        QTest::newRow("clock acknowledged from another address")
            << "udp" << QStringList { "clock" } << QStringList { "other-address,match=clock" } << 2
            << QStringList { "vexa-cli: 硬件返回数据校验错误\n" + unknown + "\n" } << ",,unknown,,\r\n"
            << "" << 13000;
        // A later read fails: the writes made so far stay in the JSON, and the
        // error is the one that ended the run.
        QTest::newRow("json keeps its writes")
            << "udp" << QStringList { "set", "5=19200", "9=10.0.0.9", "--json" }
            << QStringList { "other-address,match=read,index=9" } << 2
            << QStringList { "\"writes\":[{\"answer\":\"19200\",\"index\":5,", "\"error\":\"地址或命令校验错误" }
            << ",19200,19200,ok,,\r\n"
            << "5=19200" << 4000;
        QTest::newRow("the error that ended the run")
            << "udp" << QStringList { "set", "2=V9", "9=10.0.0.9", "--json" }
            << QStringList { "other-address,match=read,index=9" } << 3
            << QStringList { "\"result\":\"refused\"", "\"error\":\"地址或命令校验错误" } << ",V9,V2.3.1,refused,,\r\n"
            << "2=V2.3.1" << 4000;
        // Item 3 answers after its repeat and the settle window: that answer
        // must not shift the rows after it.
        QTest::newRow("apply after a very late answer")
            << "udp" << QStringList { "apply", "full.csv" }
            << QStringList { "delay,match=read,index=3,delay=4300", "delay,match=read,delay=40,times=all" } << 0
            << QStringList {} << ""
            << "5=9600" << 12000;
        // The list needed a repeat (item 5 answered only by item 4's copy)
        // and then names another item: read again, rather than blame the file.
        QTest::newRow("apply, names differ after a repeated answer")
            << "udp" << QStringList { "apply", "other.csv" }
            << QStringList { "duplicate,match=read,index=4,delay=3200", "silent,match=read,index=5,times=2" } << 2
            << QStringList { "读取时收到重复的应答" } << ""
            << "5=9600" << 11000;
        // A copy of item 4 inside item 5's read is let go: the list is right,
        // and the file is another meter's.
        QTest::newRow("apply, a copy let go, another meter's file")
            << "udp" << QStringList { "apply", "other.csv" }
            << QStringList { "duplicate,match=read,index=4,delay=100", "delay,match=read,index=5,delay=300" } << 3
            << QStringList { "文件与设备不符" } << ""
            << "5=9600" << 8000;
        // Values the answer could not carry back are not sent at all.
        QTest::newRow("value longer than the answer can carry")
            << "udp" << QStringList { "set", "9=" + QString(250, 'x') } << QStringList {} << 1
            << QStringList { "vexa-cli: 配置值过长: 编码后为250字节,设备最多接受248字节,未写入\n" } << ",not-sent,,\r\n"
            << "9=192.168.1.120" << 3000;
        QTest::newRow("value outside GB2312")
            << "udp" << QStringList { "set", "9=1€" } << QStringList {} << 1
            << QStringList { "vexa-cli: 配置值含有设备无法表示的字符,未写入\n" } << ",not-sent,,\r\n"
            << "9=192.168.1.120" << 3000;
        // The meter answers with the value it already holds: no wait for a
        // copy, and a refusal is told soon.
        QTest::newRow("value already held")
            << "pty" << QStringList { "set", "5=9600" } << QStringList {} << 0
            << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 9600\n" } << ",9600,9600,9600,ok,,\r\n"
            << "5=9600" << 1500;
        QTest::newRow("refused, answer as read before")
            << "pty" << QStringList { "set", "2=V9" } << QStringList {} << 3 << QStringList { "02. 软件版本: V2.3.1" }
            << ",V2.3.1,V9,V2.3.1,refused,,\r\n"
            << "2=V2.3.1" << 6000;
    }
    void outcomesOnAChaoticLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, faults);
        QFETCH(int, exit);
        QFETCH(QStringList, shown);
        QFETCH(QString, journal);
        QFETCH(QString, holds);
        QFETCH(int, maxMs);
        if (arguments.contains("full.csv"))
            QCOMPARE(cli(on(*m_meter, line) << "items"
                                            << "-o"
                                            << "full.csv")
                         .exit,
                0);
        m_dir->writeFile("other.csv", "05. 量程, 100\n");
        for (const QString &fault : faults)
            m_meter->addFault(fault);
        QElapsedTimer timer;
        timer.start();
        const Run run = cli(on(*m_meter, line) + arguments);
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(run.exit == exit, qPrintable(QStringLiteral("exit %1\n%2%3").arg(run.exit).arg(run.out, run.err)));
        for (const QString &piece : shown)
            QVERIFY2(run.out.contains(piece) || run.err.contains(piece), qPrintable(run.out + run.err));
        const QString written = QString::fromUtf8(m_dir->readFile("journal.csv"));
        QVERIFY2(written.contains(journal), qPrintable(written));
        if (!holds.isEmpty()) {
            const int index = holds.section('=', 0, 0).toInt();
            QCOMPARE(m_meter->items().at(index).value, holds.section('=', 1));
        }
        QVERIFY2(elapsed < maxMs, qPrintable(QString::number(elapsed)));
    }

    void applyRefusesAnotherMetersFile()
    {
        m_dir->writeFile("other.csv", "05. 量程, 100\n");
        const Run run = cli(at(*m_meter) << "apply"
                                         << "other.csv");
        QCOMPARE(run.exit, 3);
        QCOMPARE(writeCount(*m_meter), 0);
    }

    void fileErrorsAreStatus4_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason"); // the last line of stderr, if it matters
        QTest::newRow("missing apply file") << QStringList { "apply", "none.csv" } << QString();
        QTest::newRow("bad apply file") << QStringList { "apply", "bad.csv" } << QString();
        QTest::newRow("missing targets") << QStringList { "--targets", "none.txt", "items" } << QString();
        QTest::newRow("bad targets") << QStringList { "--targets", "bad.txt", "items" } << QString();
        // Its tail was once read as a line of its own: a meter commented out came back.
        QTest::newRow("targets line over 4096 bytes")
            << QStringList { "--targets", "long.txt", "items" } << "long.txt 中没有设备";
        QTest::newRow("missing package") << QStringList { "flash", "none.vexabin" } << QString();
        QTest::newRow("not a package") << QStringList { "flash", "bad.csv" } << QString();
        // Refused by name before the meter is asked: nothing hangs in open(),
        // no device is written or replaced.
        const QStringList history { "@meter", "history", "2024-06-01", "2024-06-02" };
        QTest::newRow("history into a FIFO")
            << history + QStringList { "-o", "fifo" } << "这是一个管道(FIFO),只能写入普通文件";
        QTest::newRow("history into a folder")
            << history + QStringList { "-o", "folder" } << "这是一个文件夹,只能写入普通文件";
        QTest::newRow("history into a device")
            << history + QStringList { "-o", "@device" } << "这是一个设备,只能写入普通文件";
        QTest::newRow("history PDF onto a device")
            << history + QStringList { "--pdf", "@device" } << "这是一个设备,只能写入普通文件";
        QTest::newRow("history chart onto a device")
            << history + QStringList { "--chart", "@device.png" } << "这是一个设备,只能写入普通文件";
        QTest::newRow("report onto a FIFO") << QStringList { "@meter", "report", "2024-06-01", "2024-06-02", "-o",
            "fifo.pdf" } << "这是一个管道(FIFO),只能写入普通文件";
        QTest::newRow("items into a FIFO")
            << QStringList { "@meter", "items", "-o", "fifo" } << "这是一个管道(FIFO),只能写入普通文件";
        // The backup before apply: a file where its folder should be.
        QTest::newRow("apply without a backup folder") << QStringList { "@meter", "apply", "good.csv" } << QString();
    }
    void fileErrorsAreStatus4()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        m_dir->writeFile("bad.csv", "05. a, 1\n255. 调试,1\n");
        m_dir->writeFile("good.csv", "05. 波特率(2400/4800/9600/19200/38400), 38400\n");
        m_dir->writeFile("backups", "");
        m_dir->writeFile("bad.txt", "../b,udp://127.0.0.1:2\nc,tcp://127.0.0.1:3\n");
        m_dir->writeFile("long.txt", "#" + QByteArray(4095, 'x') + "m9,udp://127.0.0.1:9?address=1\n");
        for (const char *fifo : { "fifo", "fifo.pdf" })
            QVERIFY(::mkfifo(QFile::encodeName(m_dir->filePath(fifo)).constData(), 0600) == 0);
        QVERIFY(QDir(m_dir->path()).mkdir("folder"));
        const QString device = deviceNode(*m_dir);
        // A drawn file needs its suffix: the device node gets a second name that has one.
        QVERIFY(QFile::link(device, device + ".png") || device == "/dev/full");
        arguments.replaceInStrings(QRegularExpression("^@device"), device);
        const Run run = cli(withMeter(arguments, *m_meter));
        QCOMPARE(run.exit, 4);
        QVERIFY(run.err.contains("vexa-cli: ")); // a PDF may bring a warning of the toolkit first
        if (!reason.isEmpty())
            QVERIFY2(run.err.endsWith(reason + "\n"), qPrintable(run.err));
        QVERIFY(m_meter->receivedFrames().isEmpty());
        QVERIFY(QFileInfo(device).exists() && !QFileInfo(device).isFile());
    }

    void stdoutFailureIsStatus4_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<int>("error");
        QTest::newRow("full disk") << false << ENOSPC;
        QTest::newRow("reader gone") << true << EPIPE;
    }
    void stdoutFailureIsStatus4()
    {
        QFETCH(bool, pipe);
        QFETCH(int, error);
        Run run;
        if (pipe) {
            // A pipe whose reader left before the first line.
            run = cli(at(*m_meter) << "items", "zh_CN.UTF-8",
                { "sh", "-c", "mkfifo p && exec 3<>p 4>p && exec 3<&- && rm p && exec \"$0\" \"$@\" >&4 4>&-" });
        } else {
            run = cli(at(*m_meter) << "items", "zh_CN.UTF-8", {}, "/dev/full");
        }
        QCOMPARE(run.exit, 4);
        QCOMPARE(run.err, "vexa-cli: 写入标准输出失败: " + QString::fromLocal8Bit(std::strerror(error)) + "\n");
    }

    void clockIsSet()
    {
        const Run run = cli(at(*m_meter) << "clock");
        QCOMPARE(run.exit, 0);
        QCOMPARE(m_meter->state().clockSetCount, 1);
        QVERIFY(QString::fromUtf8(m_dir->readFile("journal.csv")).contains(",clock,,"));
    }

    void historyLinesAndFiles()
    {
        const Run run = cli(at(*m_meter) << "history"
                                         << "2024-06-01"
                                         << "2024-06-02");
        QCOMPARE(run.exit, 0);
        QVERIFY2(run.out.count(QLatin1Char(0x0A)) > 2, qPrintable(run.out + run.err));
        const Run files = cli(at(*m_meter) << "history"
                                           << "2024-06-01"
                                           << "2024-06-02"
                                           << "-o"
                                           << "h.csv"
                                           << "--pdf"
                                           << "h.pdf");
        QCOMPARE(files.exit, 0);
        QCOMPARE(files.out, QString());
        QCOMPARE(QString::fromUtf8(m_dir->readFile("h.csv")), run.out);
        QVERIFY(m_dir->readFile("h.pdf").startsWith("%PDF"));
        // A full disk (here a file size limit): the system's reason and exit
        // 4, not exit 0 with a cut file.
        const Run full = cli(at(*m_meter) << "history"
                                          << "2020-01-01"
                                          << "2026-12-31"
                                          << "-o"
                                          << "full.csv",
            "zh_CN.UTF-8", { "sh", "-c", "trap '' XFSZ; exec prlimit --fsize=2000 \"$0\" \"$@\"" });
        QCOMPARE(full.exit, 4);
        QCOMPARE(full.err, "vexa-cli: 写入文件失败: full.csv\n" + QString::fromLocal8Bit(std::strerror(EFBIG)) + "\n");
        QCOMPARE(QFileInfo(m_dir->filePath("full.csv")).size(), 2000);
        m_meter->addFault("silent,times=all");
        const Run silent = cli(at(*m_meter) << "history"
                                            << "2024-06-01"
                                            << "2024-06-02");
        QCOMPARE(silent.exit, 2);
        QCOMPARE(silent.err,
            QStringLiteral("vexa-cli: 接受数据超时\nUDP %1 · 地址 1: 请检查电缆、端口和设备地址，并确认仪表已通电。\n")
                .arg(udp(*m_meter)));
    }

    void chartAndServiceReport()
    {
        // The demo meter logs the last 120 days; today's write is the visit.
        const QString from = QDate::currentDate().addDays(-2).toString(Qt::ISODate);
        const QString to = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(cli(at(*m_meter) << "set"
                                  << "5=19200")
                     .exit,
            0);
        const Run png = cli(at(*m_meter) << "history" << from << to << "--chart"
                                         << "c.png"
                                         << "-o"
                                         << "h.csv");
        QCOMPARE(png.exit, 0);
        QCOMPARE(QImage(m_dir->filePath("c.png")).size(), QSize(1600, 1000));
        QVERIFY(m_dir->readFile("h.csv").size() > 1000);
        const Run pdf = cli(at(*m_meter) << "history" << from << to << "--chart"
                                         << "c.pdf");
        QCOMPARE(pdf.exit, 0);
        const QString chart = pdfText(m_dir->filePath("c.pdf"));
        for (const char *expected : { "历史数据", "VX-200 智能流量积算仪", "瞬时流量 (m3/h)", "温度 (℃)" })
            QVERIFY2(chart.contains(QString::fromUtf8(expected)), expected);

        const Run report = cli(at(*m_meter) << "report" << from << to << "-o"
                                            << "r.pdf",
            "en_US.UTF-8");
        QCOMPARE(report.exit, 0);
        QCOMPARE(report.out, QStringLiteral("Service report written to r.pdf\n"));
        const QString text = pdfText(m_dir->filePath("r.pdf"));
        for (const char *expected : { "Service Report", "VX-200 智能流量积算仪", "Items (values as last read)",
                 "09 IP地址", "05 波特率(2400/4800/9600/19200/38400)", "9600 → 19200", "History " })
            QVERIFY2(
                text.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + " in " + text));
        m_meter->addFault("silent,times=all");
        const Run silent = cli(at(*m_meter) << "report" << from << to << "-o"
                                            << "r2.pdf");
        QCOMPARE(silent.exit, 2);
        QVERIFY(!QFile::exists(m_dir->filePath("r2.pdf")));
    }

    void flashChecksTheModel_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("exit");
        QTest::newRow("same model") << "VX-200" << 0;
        QTest::newRow("other model") << "VX-999" << 3;
    }
    void flashChecksTheModel()
    {
        QFETCH(QString, model);
        QFETCH(int, exit);
        const QString package = m_dir->filePath("fw.vexabin");
        QCOMPARE(writePackageFile(package, "VX-200", "V9", model, QByteArray(3000, 'x')), QString());
        const Run run = cli(at(*m_meter) << "flash" << package);
        QCOMPARE(run.exit, exit);
        QCOMPARE(run.out, exit == 0 ? QStringLiteral("固件更新成功!\n更新后设备已应答\n") : QString());
    }

    void fleetFlashAndHistory_data()
    {
        // Meters "page" (refuses its second page), "other" (another model),
        // "good"; --jobs 1 serves them in that order.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("silentAfter"); // "good" does not answer after its update
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("outcomes"); // from --json: meter=outcome, answered_after
        QTest::addColumn<QString>("journal"); // results in journal.csv, in order per meter
        QTest::addColumn<QStringList>("told"); // on stderr
        const QString erased = "设备中的固件已被擦除，需要重新更新固件。";
        const QString mismatch = "固件更新失败,BIN文件与设备型号不一致!\n设备型号: VX-300\n文件型号: VX-200";
        const QString pageFailed = "固件更新失败,发送文件数据失败!";
        QTest::newRow("flash") << QStringList { "flash", "@package", "--json" } << false << 3
                               << "page=failed other=failed good=done,true"
                               << "page:started," + pageFailed + " other:started," + mismatch + " good:started,ok"
                               << QStringList { "3台设备中2台失败:", erased };
        QTest::newRow("skipping other models")
            << QStringList { "flash", "@package", "--json", "--skip-model-mismatch" } << true << 2
            << "page=failed other=skipped good=done,false"
            << "page:started," + pageFailed + " good:started,ok"
            << QStringList { "3台设备中1台失败:",
                   "跳过1台设备:\n  other: 型号不同,已跳过: 设备型号: VX-300; 文件型号: VX-200\n" };
        QTest::newRow("one failure stops the fleet")
            << QStringList { "flash", "@package", "--json", "--skip-model-mismatch", "--max-failures", "1", "--jobs",
                   "1" }
            << false << 2 << "page=failed other=not_started good=not_started"
            << "page:started," + pageFailed << QStringList { "失败达到上限,2台设备未开始:\n  other\n  good\n" };
        // Every model has its history; one file per meter.
        QTest::newRow("history") << QStringList { "history", "2024-06-01", "2024-06-02", "-o", "out", "--max-failures",
            "1" } << false << 0 << ""
                                 << "" << QStringList();
    }
    void fleetFlashAndHistory()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, silentAfter);
        QFETCH(int, exit);
        QFETCH(QString, outcomes);
        QFETCH(QString, journal);
        QFETCH(QStringList, told);
        const QStringList names { "page", "other", "good" };
        std::vector<std::unique_ptr<SimRunner>> meters;
        QByteArray targets;
        QMap<QString, QString> nameOf; // the journal's connection column
        for (const QString &name : names) {
            SimProfile profile = SimProfile::demo();
            profile.model = name == "other" ? "VX-300" : "VX-200";
            profile.raw.remove("firmware"); // identifies with the profile's model
            meters.emplace_back(new SimRunner(profile));
            QVERIFY(meters.back()->isStarted());
            targets += QStringLiteral("%1,udp://%2?address=255\n").arg(name, udp(*meters.back())).toUtf8();
            nameOf.insert(QStringLiteral("udp %1").arg(udp(*meters.back())), name);
        }
        meters.front()->call(
            [](MeterSim &sim) { sim.state().extra.insert(QStringLiteral("firmware/wrongPageReplyAt"), 1); });
        // Silent after the update's own identification (the model check asks once before it).
        if (silentAfter)
            meters.back()->addFault(QStringLiteral("silent,match=tilde,command=293F,after=%1,times=all")
                                        .arg(arguments.contains("--skip-model-mismatch") ? 2 : 1));
        m_dir->writeFile("site.txt", targets);
        const QString package = m_dir->filePath("fw.vexabin");
        QCOMPARE(writePackageFile(package, "Vexa", "V9", "VX-200", QByteArray(3000, 'x')), QString());
        arguments.replace(arguments.indexOf("@package") < 0 ? 0 : arguments.indexOf("@package"),
            arguments.contains("@package") ? package : arguments.first());

        const Run run = cli(QStringList { "--targets", "site.txt" } + arguments);
        QCOMPARE(run.exit, exit);
        for (const QString &text : told)
            QVERIFY2(run.err.contains(text), qPrintable(run.err));
        if (arguments.first() == "history") {
            for (const QString &name : names)
                QVERIFY(m_dir->readFile("out/" + name + ".csv").size() > 100);
            return;
        }
        QStringList said;
        for (const QString &line : run.out.split('\n', Qt::SkipEmptyParts)) {
            const QJsonObject json = QJsonDocument::fromJson(line.toUtf8()).object();
            QString word = json.value("meter").toString() + "=" + json.value("outcome").toString();
            if (json.contains("answered_after") && json.value("ok").toBool())
                word += json.value("answered_after").toBool() ? ",true" : ",false";
            said << word;
        }
        QCOMPARE(said.join(' '), outcomes);
        // Per meter: started, then ok or the failure; a skipped meter has none.
        QMap<QString, QStringList> lines;
        const JournalReader reader(m_dir->filePath("journal.csv"));
        for (const JournalEntry &entry : reader.entries()) {
            QCOMPARE(entry.name, QStringLiteral("firmware"));
            QCOMPARE(entry.requestedValue, QStringLiteral("VX-200 V9"));
            lines[nameOf.value(entry.connection)] << entry.result;
        }
        QStringList written;
        for (const QString &name : names) {
            if (lines.contains(name))
                written << name + ":" + lines.value(name).join(',');
        }
        QCOMPARE(written.join(' '), journal);
    }

    void monitorPrintsLines()
    {
        const Run run = cli(at(*m_meter) << "monitor"
                                         << "--seconds"
                                         << "2"
                                         << "--both");
        QCOMPARE(run.exit, 0);
        QVERIFY2(run.out.contains("Q=123.45 m3/h"), qPrintable(run.out + run.err));
        QVERIFY(run.out.contains("51 3D 31 32 33"));
    }

    void searchInsideANetworkNamespace()
    {
        // The broadcast goes only to a namespace of its own, where loopback is
        // the only interface; a simulated meter there answers.
        if (QProcess::execute("unshare", { "-n", "true" }) != 0)
            QSKIP("no network namespace (needs root)");
        const QString script
            = QStringLiteral("ip link set lo up || exit 9; %1/vexa-meter-sim --search > sim.out & sim=$!; "
                             "for i in $(seq 100); do grep -q ready sim.out && break; sleep 0.1; done; "
                             "%1/vexa-cli search --seconds 4; status=$?; kill $sim; exit $status")
                  .arg(QStringLiteral(VEXA_BIN_DIR));
        QProcess process;
        process.start("unshare", { "-n", "sh", "-c", script });
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromUtf8(process.readAllStandardOutput())
                    .contains(QRegularExpression("^127\\.0\\.0\\.1:\\d+  VX-200")));
    }

    void fleetWithASilentMeter()
    {
        // Eight meters on UDP, one on a serial line, one that never answers.
        std::vector<std::unique_ptr<SimRunner>> meters;
        QByteArray targets = "# site A\n";
        for (int i = 0; i < 9; ++i) {
            meters.emplace_back(new SimRunner(SimProfile::demo()));
            QVERIFY(meters.back()->isStarted());
            targets += QStringLiteral("m%1,udp://%2?address=1\n").arg(i).arg(udp(*meters.back())).toUtf8();
        }
        meters.back()->addFault("silent,times=all");
        targets.replace(QByteArray("m8,"), QByteArray("silent,"));
        targets += QStringLiteral("tty,serial:%1?baud=9600&address=1\n").arg(m_meter->ptyPath()).toUtf8();
        // Lines that cannot be read are told and left out; the rest are served.
        targets += "m1,udp://127.0.0.1:9?address=1\nall,udp://255.255.255.255:9\n";
        m_dir->writeFile("site.txt", targets);

        const Run run = cli({ "--targets", "site.txt", "--jobs", "4", "items", "-o", "out" });
        QCOMPARE(run.exit, 4);
        QVERIFY2(run.err.contains("site.txt 第12行: 名称m1重复出现\n"), qPrintable(run.err));
        QVERIFY(run.err.contains("site.txt 第13行: 不能向广播或组播地址发送: 255.255.255.255\n"));
        QDir out(m_dir->filePath("out"));
        QCOMPARE(out.entryList(QDir::Files).size(), 9);
        QVERIFY(!out.exists("silent.csv"));
        QCOMPARE(m_dir->readFile("out/tty.csv"), m_dir->readFile("out/m0.csv"));
        QVERIFY(run.err.contains(QStringLiteral("10台设备中1台失败")));
        QVERIFY(run.err.contains("silent: 接受数据超时 (2)"));
    }

    void historyAnswerIsCappedAndStreamed_data()
    {
        QTest::addColumn<QStringList>("output"); // -o FILE, or stdout into out.txt
        QTest::addColumn<QString>("file");
        QTest::newRow("stdout") << QStringList() << "out.txt";
        QTest::newRow("CSV file") << QStringList { "-o", "h.csv" } << "h.csv";
    }
    void historyAnswerIsCappedAndStreamed()
    {
        QFETCH(QStringList, output);
        QFETCH(QString, file);
        // A meter whose history never ends: 4 KiB lines for as long as they are read.
        const QByteArray line = QByteArray(4095, 'h') + '\n';
        EndlessPtyMeter meter(line);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LANG", "zh_CN.UTF-8");
        environment.remove("LC_ALL");
        environment.remove("LC_MESSAGES");
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(m_dir->filePath("out.txt"));
        process.start(VEXA_BIN_DIR "/vexa-cli",
            QStringList { "--serial", meter.path(), "history", "2024-06-01", "2024-06-02" } + output);
        // Streamed: the lines are in the file while the answer still comes.
        qint64 grownWhileRunning = 0;
        QElapsedTimer timer;
        timer.start();
        while (!process.waitForFinished(100) && timer.elapsed() < 100000)
            grownWhileRunning = qMax(grownWhileRunning, QFileInfo(m_dir->filePath(file)).size());
        const qint64 took = timer.elapsed();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            QFAIL("the history of a meter that never stops did not end");
        }
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
            QStringLiteral("vexa-cli: 历史数据超过64 MiB的上限,已停止读取;只写出了前面的行\n"));
        const QByteArray written = m_dir->readFile(file);
        const qint64 cap = 64 * 1024 * 1024;
        QVERIFY2(
            written.size() <= cap && written.size() > cap - line.size(), qPrintable(QString::number(written.size())));
        QCOMPARE(written.size() % line.size(), 0); // whole lines only
        QVERIFY(written.startsWith(line));
        QVERIFY2(grownWhileRunning > 0, qPrintable(QStringLiteral("ended after %1 ms").arg(took)));
        qInfo("history cap of 64 MiB reached in %lld ms", took);
    }

    void monitorEndsCutPiecesWithALineFeed()
    {
        // A line that never ends comes out in 64 KiB pieces, each on its own line.
        m_meter->call([](MeterSim &sim) {
            auto *debug = sim.responder<DebugResponder>();
            debug->setLines({ QString(50000, 'm') });
            debug->setLineEnding(QByteArray());
            debug->setNumbered(false);
            debug->setIntervalMs(20);
        });
        const Run run = cli({ "--serial", m_meter->ptyPath(), "--address", "1", "monitor", "--seconds", "3" });
        QCOMPARE(run.exit, 0);
        QStringList pieces = run.out.split('\n');
        QVERIFY2(pieces.size() >= 3, qPrintable(QString::number(run.out.size())));
        QCOMPARE(pieces.takeLast(), QString()); // the last piece ended with its line feed too
        pieces.removeLast(); // the rest when the monitor stopped
        for (const QString &piece : qAsConst(pieces))
            QCOMPARE(piece, QString(64 * 1024, 'm'));
    }

    void monitorSendsAndSurvivesUnplug_data()
    {
        QTest::addColumn<bool>("reconnect");
        QTest::newRow("reconnects") << true;
        QTest::newRow("ends at the unplug") << false;
    }
    void monitorSendsAndSurvivesUnplug()
    {
        QFETCH(bool, reconnect);
        const Run bad = cli({ "monitor", "--send-hex", "01 0G" });
        QCOMPARE(bad.exit, 1);
        QVERIFY2(bad.err.startsWith("vexa-cli: 第5个字符不是十六进制数字\n"), qPrintable(bad.err));
        SimTransportOptions options;
        options.udp = false;
        options.pty = true;
        options.ptyLink = m_dir->filePath("ttyMeter");
        m_meter.reset(new SimRunner(SimProfile::demo(), options));
        QVERIFY(m_meter->isStarted());
        QStringList arguments { "--serial", options.ptyLink, "--address", "1", "monitor", "--seconds", "5",
            "--send-hex", "01 02", "--eol", "crlf" };
        if (reconnect)
            arguments << "--reconnect";
        Run run;
        std::thread unplug([&] {
            QThread::msleep(1500);
            m_meter->unplugPty();
            QThread::msleep(1000);
            m_meter->plugPty();
        });
        run = cli(arguments);
        unplug.join();
        // The bytes went out once, exactly, after the debug switch.
        const QByteArray received = m_meter->receivedBytes();
        QCOMPARE(received.count(QByteArray("\x01\x02\r\n")), 1);
        QVERIFY(run.out.contains("→ 01 02\\r\n") || run.out.contains("→ \\x01\\x02\r\n"));
        if (!reconnect) {
            QCOMPARE(run.exit, 2);
            QCOMPARE(run.err.section('\n', 0, 0), QString("vexa-cli: 连接已断开"));
            return;
        }
        QCOMPARE(run.exit, 0);
        const int lost = run.out.indexOf("—— 连接已断开");
        QVERIFY2(lost > 0 && run.out.indexOf("—— 已重新连接") > lost, qPrintable(run.out));
        // Debug on again after the plug, and off at the end.
        QCOMPARE(m_meter->receivedRequests().size(), 3);
        QVERIFY(!m_meter->state().extra.value("debug/on").toBool());
    }

    void oneSerialDeviceIsOneLane()
    {
        // Four spellings of one port: served one after another, never at once.
        const QString pty = m_meter->ptyPath();
        QVERIFY(QFile::link(pty, m_dir->filePath("meter-link")));
        const QStringList spellings { pty, m_dir->filePath("meter-link"),
            QStringLiteral("/dev/pts/../pts/") + pty.section('/', -1), "/" + pty };
        QByteArray targets;
        for (int i = 0; i < spellings.size(); ++i)
            targets += QStringLiteral("s%1,serial:%2?address=1\n").arg(i).arg(spellings.at(i)).toUtf8();
        m_dir->writeFile("site.txt", targets);
        const Run run = cli({ "--targets", "site.txt", "--jobs", "4", "items", "-o", "out" });
        QCOMPARE(run.exit, 0);
        const QByteArray first = m_dir->readFile("out/s0.csv");
        QCOMPARE(first.count('\n'), SimProfile::demo().items.size());
        for (int i = 1; i < spellings.size(); ++i)
            QCOMPARE(m_dir->readFile(QStringLiteral("out/s%1.csv").arg(i)), first);
    }

    void aHeldPortIsNotShared()
    {
        // The port held exclusively by one program: another one, through
        // another name (so the toolkit's lock file does not decide), is
        // refused by the system. Root passes that check unless it drops the
        // capability.
        const bool root = ::geteuid() == 0;
        if (root && QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv is needed to drop CAP_SYS_ADMIN");
        LinkSettings link;
        link.useUdp = false;
        link.serial.port = m_meter->ptyPath();
        DeviceChannel holder;
        QVERIFY(holder.open(link));
        QVERIFY(QFile::link(m_meter->ptyPath(), m_dir->filePath("other-name")));
        const QStringList wrapper
            = root ? QStringList { "setpriv", "--inh-caps=-sys_admin", "--bounding-set=-sys_admin" } : QStringList();
        const Run run = cli({ "--serial", m_dir->filePath("other-name"), "items" }, "zh_CN.UTF-8", wrapper);
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.startsWith("vexa-cli: 打开串口失败: " + m_dir->filePath("other-name")), qPrintable(run.err));
        QVERIFY(m_meter->receivedFrames().isEmpty());
    }

    void fleetOutputsNeverReplaceFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("kept"); // a file that must stay as it was
        QTest::addColumn<QString>("message");
        QTest::newRow("named like the journal") << "journal" << QString() << "journal.csv"
                                                << "输出文件./journal.csv与程序自己的文件同名,不写入";
        QTest::newRow("named like the journal, other case") << "JOURNAL" << QString() << "journal.csv"
                                                            << "输出文件./JOURNAL.csv与程序自己的文件同名,不写入";
        QTest::newRow("file of an earlier run") << "m0"
                                                << "out"
                                                << "out/m0.csv"
                                                << "文件已存在;不覆盖本次运行之前就有的文件";
        QTest::newRow("link at the name") << "m1"
                                          << "out"
                                          << "victim.csv"
                                          << "这是一个符号链接;程序自己命名的文件不经链接写入";
        QTest::newRow("single meter into a folder") << "@single"
                                                    << "out"
                                                    << "out/127.0.0.1_PORT.csv"
                                                    << "文件已存在;不覆盖本次运行之前就有的文件";
    }
    void fleetOutputsNeverReplaceFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, kept);
        QFETCH(QString, message);
        kept.replace("PORT", QString::number(m_meter->udpPort()));
        QVERIFY(QDir(m_dir->path()).mkpath("out"));
        for (const QString &file : { QString("journal.csv"), QString("out/m0.csv"), QString("victim.csv"), kept })
            QVERIFY(m_dir->writeFile(file, "kept\n"));
        QVERIFY(QFile::link(m_dir->filePath("victim.csv"), m_dir->filePath("out/m1.csv")));
        m_dir->writeFile("site.txt", QStringLiteral("%1,udp://%2?address=1\n").arg(name, udp(*m_meter)).toUtf8());
        QStringList arguments = name == "@single" ? at(*m_meter) : QStringList { "--targets", "site.txt" };
        arguments << "items";
        if (!folder.isEmpty())
            arguments << "-o" << folder;
        const Run run = cli(arguments);
        QCOMPARE(run.exit, 4);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(m_dir->readFile(kept), QByteArray("kept\n"));
        QCOMPARE(m_dir->readFile("journal.csv"), QByteArray("kept\n"));
        // Known before the meter was read.
        QVERIFY(m_meter->receivedFrames().isEmpty());
    }

    void meterTextIsMadeInert()
    {
        m_meter->call([](MeterSim &sim) {
            sim.state().items[1].value = QStringLiteral("@VX\x1b[31m");
            sim.state().items[16].value = QStringLiteral("=1+1");
            sim.state().items[17].value = QStringLiteral("0.0\x1b]0;title\x07\nextra");
        });
        // On the terminal: escapes, and one line per item.
        const Run items = cli(at(*m_meter) << "items");
        QCOMPARE(items.exit, 0);
        QVERIFY(!items.out.contains(QChar(0x1b)));
        const QStringList lines = items.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), SimProfile::demo().items.size() + 1);
        QCOMPARE(lines.at(18), QStringLiteral("18    17          量程下限: 0.0\\x1b]0;title\\x07\\nextra"));
        // In the file: control characters dropped, still one row per item.
        QCOMPARE(cli(at(*m_meter) << "items"
                                  << "-o"
                                  << "items.csv")
                     .exit,
            0);
        const QString file = QString::fromUtf8(m_dir->readFile("items.csv"));
        QCOMPARE(file.count('\n'), SimProfile::demo().items.size());
        QVERIFY(file.contains(QStringLiteral("\n17. 量程下限, 0.0]0;titleextra\n")));
        // In the journal: no formulas, no control characters.
        QCOMPARE(cli(at(*m_meter) << "set"
                                  << "16=-5")
                     .exit,
            0);
        const QString journal = QString::fromUtf8(m_dir->readFile("journal.csv"));
        QVERIFY2(
            journal.contains(",'@VX[31m,VX-200 智能流量积算仪,16,累积流量单位,'=1+1,'-5,'-5,"), qPrintable(journal));
    }

    void journalQuotesLikeRfc4180_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "9600"
                               << "9600";
        QTest::newRow("comma") << "1,2"
                               << "\"1,2\"";
        QTest::newRow("quote") << "a \"b\""
                               << "\"a \"\"b\"\"\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\"";
    }
    void journalQuotesLikeRfc4180()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(Journal::field(text), field);
        JournalEntry entry;
        entry.time = QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5), Qt::OffsetFromUTC, 3600);
        entry.result = text;
        QVERIFY(Journal::line(entry).contains(field));
    }

    void journalCellsFromTheMeterAreInert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell");
        QTest::newRow("plain") << "9600"
                               << "9600";
        QTest::newRow("equals inside") << "a=b"
                                       << "a=b";
        QTest::newRow("formula") << "=HYPERLINK(\"x\")"
                                 << "'=HYPERLINK(\"x\")";
        QTest::newRow("plus") << "+1"
                              << "'+1";
        QTest::newRow("minus") << "-5"
                               << "'-5";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("tab") << "\t=1"
                             << "'\t=1";
        QTest::newRow("CR dropped, then a formula") << "\r=1"
                                                    << "'=1";
        QTest::newRow("control characters dropped") << QStringLiteral("a\u0000b\x1b[31m\x7f\u0085\nc") << "ab[31mc";
    }
    void journalCellsFromTheMeterAreInert()
    {
        QFETCH(QString, text);
        QFETCH(QString, cell);
        QCOMPARE(Journal::meterCell(text), cell);
        JournalEntry entry;
        entry.model = entry.deviceName = entry.name = entry.oldValue = entry.requestedValue = entry.answeredValue
            = text;
        QCOMPARE(Journal::line(entry).count(Journal::field(cell)), 6);
    }

private:
    QScopedPointer<TempWorkDir> m_dir;
    QScopedPointer<SimRunner> m_meter;
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
