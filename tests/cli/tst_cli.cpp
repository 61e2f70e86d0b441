#include "firmware/packagewriter.h"
#include "items/journal.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/tempworkdir.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

struct Run
{
    int exit = -1;
    QString out;
    QString err;
};

// vexa-cli as a user runs it: a separate process in the working directory.
Run cli(const QStringList &arguments, const QString &language = QStringLiteral("zh_CN.UTF-8"))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LANG", language);
    environment.remove("LC_ALL");
    environment.remove("LC_MESSAGES");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VEXA_BIN_DIR "/vexa-cli"), arguments);
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
        QTest::newRow("baud without serial") << QStringList { "--baud", "9600", "items" };
        QTest::newRow("two targets") << QStringList { "--udp", "127.0.0.1:1", "--serial", "x", "items" };
        QTest::newRow("bad udp") << QStringList { "--udp", "localhost", "items" };
        QTest::newRow("address 0") << QStringList { "--udp", "127.0.0.1:1", "--address", "0", "items" };
        QTest::newRow("jobs 0") << QStringList { "--jobs", "0", "items" };
        QTest::newRow("parity") << QStringList { "--serial", "x", "--parity", "odd-ish", "items" };
        QTest::newRow("extra argument") << QStringList { "clock", "now" };
        QTest::newRow("history dates reversed") << QStringList { "history", "2026-02-01", "2024-06-01" };
        QTest::newRow("hex and both") << QStringList { "monitor", "--hex", "--both" };
        QTest::newRow("seconds 0") << QStringList { "monitor", "--seconds", "0" };
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

    void helpListsEveryCommand()
    {
        const Run run = cli({ "--help" }, "C");
        QCOMPARE(run.exit, 0);
        for (const char *command : { "items", "set INDEX=VALUE", "apply FILE", "clock" })
            QVERIFY2(run.out.contains(QLatin1String(command)), command);
        const Run set = cli({ "set", "--help" });
        QCOMPARE(set.exit, 0);
        QVERIFY(set.out.contains("INDEX=VALUE"));
    }

    void itemsOverUdpAndSerial()
    {
        const Run run = cli(at(*m_meter) << "items");
        QCOMPARE(run.exit, 0);
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), SimProfile::demo().items.size());
        QCOMPARE(lines.at(5), QStringLiteral("05. 波特率(2400/4800/9600/19200/38400), 9600"));

        const Run serial = cli({ "--serial", m_meter->ptyPath(), "--address", "1", "items", "-o", "items.csv" });
        QCOMPARE(serial.exit, 0);
        QCOMPARE(m_dir->readFile("items.csv"), QByteArray("\xEF\xBB\xBF") + run.out.toUtf8());

        const Run json = cli(at(*m_meter) << "items"
                                          << "--json");
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(object.value("ok").toBool(), true);
        QCOMPARE(object.value("items").toArray().size(), SimProfile::demo().items.size());
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

    void refusedValueIsStatus3_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("journaled");
        QTest::newRow("read-only item") << "2=V9"
                                        << "02. 软件版本: V2.3.1"
                                        << ",V2.3.1,V9,V2.3.1,refused\r\n";
        // The meter kept 9600: a part of it is no confirmation.
        QTest::newRow("value kept, request a part of it") << "5=960"
                                                          << "05. 波特率(2400/4800/9600/19200/38400): 9600"
                                                          << ",9600,960,9600,refused\r\n";
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
        const Run dry = cli(at(*m_meter) << "apply"
                                         << "wanted.csv"
                                         << "--dry-run");
        QCOMPARE(dry.exit, 0);
        QVERIFY(dry.out.startsWith(QStringLiteral("05. 波特率(2400/4800/9600/19200/38400): 9600 -> 38400\n")));
        QCOMPARE(writeCount(*m_meter), 0);
        QVERIFY(!QFile::exists(m_dir->filePath("journal.csv")));

        const Run apply = cli(at(*m_meter) << "apply"
                                           << "wanted.csv");
        QCOMPARE(apply.exit, 0);
        QCOMPARE(writeCount(*m_meter), 1);
        QCOMPARE(m_meter->items().at(5).value, QStringLiteral("38400"));

        const Run all = cli(at(*m_meter) << "apply"
                                         << "wanted.csv"
                                         << "--all");
        QCOMPARE(all.exit, 0);
        QCOMPARE(writeCount(*m_meter), 3);
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
                << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 19200\n" } << ",9600,19200,19200,ok\r\n"
                << "5=19200" << 4000;
            // The first write's answer once more inside the next item's pre-read.
            QTest::addRow("%s: a copy of the write answer in the next read", qPrintable(line))
                << line << QStringList { "set", "5=19200", "9=10.0.0.9" }
                << QStringList { "duplicate,match=write,index=5,delay=50", "delay,match=read,index=9,delay=300" } << 0
                << QStringList { "09. IP地址: 10.0.0.9\n" } << ",9,IP地址,192.168.1.120,10.0.0.9,10.0.0.9,ok\r\n"
                << "9=10.0.0.9" << 5000;
        }
        // The answer is lost, the value landed: the read-back says so.
        QTest::newRow("write answer lost, value taken")
            << "udp" << QStringList { "set", "5=19200" } << QStringList { "silent,match=write" } << 0
            << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 19200\n" } << ",9600,19200,19200,ok\r\n"
            << "5=19200" << 14000;
        QTest::newRow("write answer spoilt, read-back fails")
            << "pty" << QStringList { "set", "5=19200" }
            << QStringList { "bad-crc,match=write", "silent,match=read,after=3,times=all" } << 2
            << QStringList { "vexa-cli: CRC校验错误\n" + unknown + "\n" } << ",9600,19200,,unknown\r\n"
            << "5=19200" << 8000;
        // Nothing in the clock's answer is its own: it may have been set.
        QTest::newRow("clock acknowledged from another address")
            << "udp" << QStringList { "clock" } << QStringList { "other-address,match=clock" } << 2
            << QStringList { "vexa-cli: 硬件返回数据校验错误\n" + unknown + "\n" } << ",,unknown\r\n"
            << "" << 13000;
        // A later read fails: the writes made so far stay in the JSON, and the
        // error is the one that ended the run.
        QTest::newRow("json keeps its writes")
            << "udp" << QStringList { "set", "5=19200", "9=10.0.0.9", "--json" }
            << QStringList { "other-address,match=read,index=9" } << 2
            << QStringList { "\"writes\":[{\"answer\":\"19200\",\"index\":5,", "\"error\":\"地址或命令校验错误" }
            << ",19200,19200,ok\r\n"
            << "5=19200" << 4000;
        QTest::newRow("the error that ended the run")
            << "udp" << QStringList { "set", "2=V9", "9=10.0.0.9", "--json" }
            << QStringList { "other-address,match=read,index=9" } << 3
            << QStringList { "\"result\":\"refused\"", "\"error\":\"地址或命令校验错误" } << ",V9,V2.3.1,refused\r\n"
            << "2=V2.3.1" << 4000;
        // Item 3 answers after its repeat and the settle window: that answer
        // must not shift the rows after it.
        QTest::newRow("apply after a very late answer")
            << "udp" << QStringList { "apply", "full.csv" }
            << QStringList { "delay,match=read,index=3,delay=4300", "delay,match=read,delay=40,times=all" } << 0
            << QStringList {} << ""
            << "5=9600" << 12000;
        // The list needed a repeat and then names another item: read again,
        // rather than blame the file.
        QTest::newRow("apply, names differ after a repeated answer")
            << "udp" << QStringList { "apply", "other.csv" }
            << QStringList { "duplicate,match=read,index=4,delay=100", "delay,match=read,index=5,delay=300" } << 2
            << QStringList {} << ""
            << "5=9600" << 8000;
        // Values the answer could not carry back are not sent at all.
        QTest::newRow("value longer than the answer can carry")
            << "udp" << QStringList { "set", "9=" + QString(250, 'x') } << QStringList {} << 1
            << QStringList { "vexa-cli: 配置值过长: 编码后为250字节,设备最多接受248字节,未写入\n" } << ",not-sent\r\n"
            << "9=192.168.1.120" << 3000;
        QTest::newRow("value outside GB2312")
            << "udp" << QStringList { "set", "9=1€" } << QStringList {} << 1
            << QStringList { "vexa-cli: 配置值含有设备无法表示的字符,未写入\n" } << ",not-sent\r\n"
            << "9=192.168.1.120" << 3000;
        // The meter answers with the value it already holds: no wait for a
        // copy, and a refusal is told soon.
        QTest::newRow("value already held")
            << "pty" << QStringList { "set", "5=9600" } << QStringList {} << 0
            << QStringList { "05. 波特率(2400/4800/9600/19200/38400): 9600\n" } << ",9600,9600,9600,ok\r\n"
            << "5=9600" << 1500;
        QTest::newRow("refused, answer as read before")
            << "pty" << QStringList { "set", "2=V9" } << QStringList {} << 3 << QStringList { "02. 软件版本: V2.3.1" }
            << ",V2.3.1,V9,V2.3.1,refused\r\n"
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
        QTest::newRow("missing apply file") << QStringList { "apply", "none.csv" };
        QTest::newRow("bad apply file") << QStringList { "apply", "bad.csv" };
        QTest::newRow("missing targets") << QStringList { "--targets", "none.txt", "items" };
        QTest::newRow("bad targets") << QStringList { "--targets", "bad.txt", "items" };
        QTest::newRow("missing package") << QStringList { "flash", "none.vexabin" };
        QTest::newRow("not a package") << QStringList { "flash", "bad.csv" };
    }
    void fileErrorsAreStatus4()
    {
        QFETCH(QStringList, arguments);
        m_dir->writeFile("bad.csv", "05. a, 1\n255. 调试,1\n");
        m_dir->writeFile("bad.txt", "a,udp://127.0.0.1:1\n../b,udp://127.0.0.1:2\n");
        const Run run = cli(arguments);
        QCOMPARE(run.exit, 4);
        QVERIFY(run.err.startsWith("vexa-cli: "));
        QVERIFY(m_meter->receivedFrames().isEmpty());
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
        m_meter->addFault("silent,times=all");
        const Run silent = cli(at(*m_meter) << "history"
                                            << "2024-06-01"
                                            << "2024-06-02");
        QCOMPARE(silent.exit, 2);
        QCOMPARE(silent.err, QStringLiteral("vexa-cli: 接受数据超时\n"));
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
        QCOMPARE(run.out.isEmpty(), exit != 0);
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
        m_dir->writeFile("site.txt", targets);

        const Run run = cli({ "--targets", "site.txt", "--jobs", "4", "items", "-o", "out" });
        QCOMPARE(run.exit, 2);
        QDir out(m_dir->filePath("out"));
        QCOMPARE(out.entryList(QDir::Files).size(), 9);
        QVERIFY(!out.exists("silent.csv"));
        QCOMPARE(m_dir->readFile("out/tty.csv"), m_dir->readFile("out/m0.csv"));
        QVERIFY(run.err.contains(QStringLiteral("10台设备中1台失败")));
        QVERIFY(run.err.contains("silent: 接受数据超时 (2)"));
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
        entry.requestedValue = text;
        QVERIFY(Journal::line(entry).contains(field));
    }

private:
    QScopedPointer<TempWorkDir> m_dir;
    QScopedPointer<SimRunner> m_meter;
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
