#include "firmware/dencryptinfo.h"
#include "firmware/firmwareupdate.h"
#include "items/journalreader.h"
#include "firmware/updatesession.h"
#include "firmware/updatethread.h"
#include "link/devicechannel.h"
#include "tests/support/meterlink.h"

#include "base/settings.h"
#include "sim/firmwareresponder.h"
#include "sim/simframe.h"
#include "sim/simrunner.h"
#include "tests/support/tempworkdir.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

enum class Line { Udp, Pty };

const QString kModel = QStringLiteral("VX-200");

QByteArray sampleImage(int size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 31 + (i >> 10)) & 0xFF);
    return image;
}

DEncryptInfo package(const QString &model, const QByteArray &image, bool withImage = true)
{
    QMap<QString, QVariant> map;
    map.insert(QLatin1String(kPackageModelKey), model);
    if (withImage)
        map.insert(QLatin1String(kPackageImageKey), image);
    DEncryptInfo info;
    info.setInfoMap(map);
    return info;
}

SimProfile profile(const QString &model = kModel)
{
    SimProfile profile = SimProfile::demo();
    profile.model = model;
    profile.raw.remove(QStringLiteral("firmware"));
    return profile;
}

SimTransportOptions options(Line line)
{
    SimTransportOptions options;
    options.pty = line == Line::Pty;
    return options;
}

void pointSettingsAt(const SimRunner &meter, Line line)
{
    connectToMeter(meter, line == Line::Udp);
}

struct Outcome
{
    bool finished = false;
    int succeeded = 0;
    QStringList errors;
    QList<int> progress;
    qint64 elapsedMs = 0;
};

Outcome runUpdate(const DEncryptInfo &info, int waitMs = 60000)
{
    UpdateThread thread;
    thread.setLinkSettings(storedLinkSettings());
    QSignalSpy succeeded(&thread, &UpdateThread::signalUpdateSucceed);
    QSignalSpy errors(&thread, &UpdateThread::signalShowErrorMessage);
    QSignalSpy progress(&thread, &UpdateThread::signalUpdateProgress);
    thread.setInfo(info);
    QElapsedTimer timer;
    timer.start();
    thread.start();
    Outcome outcome;
    outcome.finished = thread.wait(waitMs);
    outcome.elapsedMs = timer.elapsed();
    outcome.succeeded = succeeded.count();
    for (const QList<QVariant> &args : errors)
        outcome.errors << args.at(0).toString();
    for (const QList<QVariant> &args : progress)
        outcome.progress << args.at(0).toInt();
    return outcome;
}

QList<int> expectedProgress(int size)
{
    QList<int> values { 0 };
    for (int k = 0; qint64(k) * 1024 < size; ++k)
        values << int(qint64(102400) * k / size);
    return values;
}

QList<int> expectedPageNumbers(int size)
{
    QList<int> numbers;
    for (int k = 0; qint64(k) * 1024 < size; ++k)
        numbers << k % 256;
    return numbers;
}

} // namespace

Q_DECLARE_METATYPE(Line)

class TstUpdateThread : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void writesImage_data()
    {
        QTest::addColumn<Line>("line");
        QTest::addColumn<int>("size");
        for (const auto &[name, line] : { std::pair<const char *, Line> { "udp", Line::Udp }, { "pty", Line::Pty } }) {
            for (int size : { 1024, 1025, 2048, 300 * 1024 })
                QTest::addRow("%s %d", name, size) << line << size;
        }
    }

    void writesImage()
    {
        QFETCH(Line, line);
        QFETCH(int, size);
        TempWorkDir dir;
        SimRunner meter(profile(), options(line));
        QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
        pointSettingsAt(meter, line);
        const QByteArray image = sampleImage(size);

        const Outcome outcome = runUpdate(package(kModel, image));
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.errors, QStringList());
        QCOMPARE(outcome.succeeded, 1);
        QCOMPARE(outcome.progress, expectedProgress(size));

        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        // Once for the update, once more after it.
        QCOMPARE(record.identifyCount, 2);
        QCOMPARE(record.eraseSize, qint64(size));
        QCOMPARE(record.pageNumbers, expectedPageNumbers(size));
        QVERIFY(record.pageOrderOk);
        QVERIFY(record.image == image); // QCOMPARE would print 300 KiB on failure
        QCOMPARE(record.lastPageTail, QByteArray((1024 - size % 1024) % 1024, char(0xFF)));
        QCOMPARE(record.finishCount, 4);
        if (size == 300 * 1024)
            qInfo("300 KiB (%d pages) over %s: %lld ms", int(record.pageNumbers.size()),
                line == Line::Udp ? "UDP" : "pty", outcome.elapsedMs);
    }

    // No image bytes: refused before anything reaches the meter, which an
    // erase of size 0 would leave without firmware.
    void emptyImage()
    {
        TempWorkDir dir;
        SimRunner meter(profile(), options(Line::Udp));
        QVERIFY(meter.isStarted());
        pointSettingsAt(meter, Line::Udp);
        const Outcome outcome = runUpdate(package(kModel, {}, false));
        QCOMPARE(outcome.errors, QStringList { QStringLiteral("固件更新失败,文件中没有固件数据!") });
        QCOMPARE(outcome.succeeded, 0);
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.identifyCount, 0);
        QCOMPARE(record.eraseCount, 0);
        QCOMPARE(record.finishCount, 0);
    }

    void identification_data()
    {
        QTest::addColumn<QString>("meterModel");
        QTest::addColumn<QString>("identifyText");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("meterShown"); // in the message's second line
        QTest::newRow("other model") << "VX-300"
                                     << "" << false << "VX-300";
        QTest::newRow("bang and several blanks") << "VX-200"
                                                 << "!Find   %1   OK" << true << "";
        QTest::newRow("no blank before OK") << "VX-200"
                                            << "Find %1OK" << false << "Find VX-200OK";
        QTest::newRow("lower-case find") << "VX-200"
                                         << "find %1 OK" << false << "find VX-200 OK";
    }

    // A refused model ends with the finish request, before anything is erased.
    void identification()
    {
        QFETCH(QString, meterModel);
        QFETCH(QString, identifyText);
        QFETCH(bool, accepted);
        QFETCH(QString, meterShown);
        TempWorkDir dir;
        SimRunner meter(profile(meterModel), options(Line::Udp));
        QVERIFY(meter.isStarted());
        if (!identifyText.isEmpty())
            meter.call([&](MeterSim &sim) {
                sim.state().extra.insert(QStringLiteral("firmware/identifyText"), identifyText);
            });
        pointSettingsAt(meter, Line::Udp);
        const Outcome outcome = runUpdate(package(kModel, sampleImage(1500)));
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        // Two more after the identification that follows a finished update.
        QCOMPARE(record.finishCount, accepted ? 4 : 2);
        if (accepted) {
            QCOMPARE(outcome.errors, QStringList());
            QCOMPARE(record.image, sampleImage(1500));
        } else {
            // Both models follow the failure's own text.
            QCOMPARE(outcome.errors,
                QStringList { QStringLiteral("固件更新失败,BIN文件与设备型号不一致!\n设备型号: %1\n文件型号: %2")
                                  .arg(meterShown, kModel) });
            QCOMPARE(outcome.succeeded, 0);
            QCOMPARE(outcome.progress, QList<int>());
            QCOMPARE(record.eraseCount, 0);
        }
    }

    void sessionOnTheCallingThread_data()
    {
        QTest::addColumn<QString>("meterModel");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("kind"); // LinkFailure::Kind
        QTest::newRow("written") << kModel << QStringList { "progress 0", "progress 0", "progress 50", "finishing" }
                                 << int(LinkFailure::Kind::None);
        // The failure is told before the finish requests go out.
        QTest::newRow("other model") << "VX-300" << QStringList { "failed", "finishing" }
                                     << int(LinkFailure::Kind::WrongModel);
    }

    // As the command line flashes: no thread of its own, steps told as they come.
    void sessionOnTheCallingThread()
    {
        QFETCH(QString, meterModel);
        QFETCH(QStringList, steps);
        QFETCH(int, kind);
        TempWorkDir dir;
        SimRunner meter(profile(meterModel), options(Line::Udp));
        QVERIFY(meter.isStarted());
        QStringList told;
        UpdateSteps said;
        said.progress = [&told](int percent) {
            told << QStringLiteral("progress %1").arg(percent);
        };
        said.finishing = [&told] {
            told << QStringLiteral("finishing");
        };
        said.failed = [&told](const LinkFailure &) {
            told << QStringLiteral("failed");
        };
        DeviceChannel channel;
        const LinkFailure failure
            = UpdateSession(channel).update(meterLink(meter, true), package(kModel, sampleImage(2048)), said);
        QCOMPARE(told, steps);
        QCOMPARE(int(failure.kind), kind);
        QCOMPARE(SimFirmwareRecord::fromState(meter.state()).finishCount, 2);
    }

    // The meter falls silent after identifying itself: the erase times out
    // after 10 s and no finish request follows.
    void silenceAfterIdentification()
    {
        TempWorkDir dir;
        SimRunner meter(profile(), options(Line::Udp));
        QVERIFY(meter.isStarted());
        meter.addFault(QStringLiteral("silent,match=tilde,after=1,times=all"));
        pointSettingsAt(meter, Line::Udp);
        const Outcome outcome = runUpdate(package(kModel, sampleImage(3000)));
        QCOMPARE(outcome.errors, QStringList { QStringLiteral("固件更新失败,擦除设备内存失败!") });
        QCOMPARE(outcome.succeeded, 0);
        QVERIFY2(outcome.elapsedMs >= 9500, qPrintable(QString::number(outcome.elapsedMs)));
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.eraseCount, 1);
        QCOMPARE(record.pageNumbers, QList<int>());
        QCOMPARE(record.finishCount, 0);
    }

    // The first identification is answered after its time-out, while the
    // meter takes its time to erase: that answer must not pass for the
    // erase answer.
    void lateIdentificationAnswer()
    {
        TempWorkDir dir;
        SimRunner meter(profile(), options(Line::Udp));
        QVERIFY(meter.isStarted());
        meter.addFault(QStringLiteral("silent,match=tilde,command=293F"));
        meter.addFault(QStringLiteral("delay,match=tilde,command=2FAC,delay=600"));
        pointSettingsAt(meter, Line::Udp);
        UpdateThread thread;
        thread.setLinkSettings(storedLinkSettings());
        QSignalSpy succeeded(&thread, &UpdateThread::signalUpdateSucceed);
        QSignalSpy errors(&thread, &UpdateThread::signalShowErrorMessage);
        thread.setInfo(package(kModel, sampleImage(3000)));
        thread.start();
        QVERIFY(meter.waitForFrames(2, 15000));
        QThread::msleep(100);
        const QByteArray late = simTildeReply(simEncodeText(QStringLiteral("Find %1 OK").arg(kModel)));
        meter.call([&late](MeterSim &sim) { sim.sendUnsolicited(late); });
        QVERIFY(thread.wait(30000));
        QCOMPARE(errors.count(), 0);
        QCOMPARE(succeeded.count(), 1);
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.identifyCount, 3);
        QCOMPARE(record.image, sampleImage(3000));
    }

    // Answers that come twice or not at all: a page counts only by its own
    // answer, and the update succeeds only when the meter holds the image.
    void copiesConfirmNothing_data()
    {
        QTest::addColumn<Line>("line");
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("maxMs");
        const QString noPage = QStringLiteral("固件更新失败,发送文件数据失败!");
        // The erase answer comes again after the first page went out, and that
        // page never reaches the meter.
        const QStringList eraseCopy { "duplicate,match=tilde,command=2FAC,delay=100", "lost,match=tilde,command=2C01" };
        for (const auto &[name, line] : { std::pair<const char *, Line> { "udp", Line::Udp }, { "pty", Line::Pty } }) {
            QTest::addRow("%s: erase answer twice, first page lost", name)
                << line << 3000 << eraseCopy << noPage << 14000;
            QTest::addRow("%s: the same with a one-page image", name) << line << 1000 << eraseCopy << noPage << 14000;
        }
        // The identification answer once more inside the erase: let go.
        QTest::newRow("identification answer twice") << Line::Udp << 3000
                                                     << QStringList { "duplicate,match=tilde,command=293F,delay=150",
                                                            "delay,match=tilde,command=2FAC,delay=400" }
                                                     << QString() << 3000;
        // The first identification is answered after its time-out, inside the
        // repeat; the repeat's own answer then comes once more.
        QTest::newRow("identification repeated")
            << Line::Pty << 2048 << QStringList { "delay,match=tilde,command=293F,delay=10200" } << QString() << 14000;
        // The meter answers both finish requests alike: no copy to wait for.
        QTest::newRow("finish answers alike") << Line::Udp << 1024 << QStringList {} << QString() << 2000;
    }
    void copiesConfirmNothing()
    {
        QFETCH(Line, line);
        QFETCH(int, size);
        QFETCH(QStringList, faults);
        QFETCH(QString, error);
        QFETCH(int, maxMs);
        TempWorkDir dir;
        SimRunner meter(profile(), options(line));
        QVERIFY(meter.isStarted());
        for (const QString &fault : faults)
            meter.addFault(fault);
        pointSettingsAt(meter, line);
        const Outcome outcome = runUpdate(package(kModel, sampleImage(size)));
        QVERIFY(outcome.finished);
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        if (error.isEmpty()) {
            QCOMPARE(outcome.errors, QStringList());
            QCOMPARE(outcome.succeeded, 1);
            QVERIFY(record.image == sampleImage(size));
            QCOMPARE(record.finishCount, 4);
        } else {
            QCOMPARE(outcome.errors, QStringList { error });
            QCOMPARE(outcome.succeeded, 0);
            QCOMPARE(record.finishCount, 0);
        }
        QVERIFY2(outcome.elapsedMs < maxMs, qPrintable(QString::number(outcome.elapsedMs)));
    }

    // A well-formed reply naming another page stops the update at once,
    // without a finish request.
    void wrongPageReply()
    {
        TempWorkDir dir;
        SimRunner meter(profile(), options(Line::Pty));
        QVERIFY(meter.isStarted());
        meter.call([](MeterSim &sim) { sim.state().extra.insert(QStringLiteral("firmware/wrongPageReplyAt"), 1); });
        pointSettingsAt(meter, Line::Pty);
        const Outcome outcome = runUpdate(package(kModel, sampleImage(4096)));
        QCOMPARE(outcome.errors, QStringList { QStringLiteral("固件更新失败,发送文件数据失败!") });
        QCOMPARE(outcome.succeeded, 0);
        QCOMPARE(outcome.progress, (QList<int> { 0, 0 }));
        QVERIFY(outcome.elapsedMs < 5000);
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.pageNumbers, (QList<int> { 0, 1 }));
        QCOMPARE(record.finishCount, 0);
    }

    // Replies that only carry "Erase OK\r\n" are accepted for erase and pages:
    // as the bare text on the serial line. A meter that answers every page
    // with the very frame it answered the erase with cannot be told from a
    // copy of that answer: the first page is not confirmed.
    void eraseOkFallback_data()
    {
        QTest::addColumn<Line>("line");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("error");
        QTest::newRow("frame over udp") << Line::Udp << "frame" << QStringLiteral("固件更新失败,发送文件数据失败!");
        QTest::newRow("bare text over pty") << Line::Pty << "raw" << QString();
    }

    void eraseOkFallback()
    {
        QFETCH(Line, line);
        QFETCH(QString, mode);
        QFETCH(QString, error);
        TempWorkDir dir;
        SimRunner meter(profile(), options(line));
        QVERIFY(meter.isStarted());
        meter.call([&](MeterSim &sim) { sim.state().extra.insert(QStringLiteral("firmware/eraseOkReply"), mode); });
        pointSettingsAt(meter, line);
        const Outcome outcome = runUpdate(package(kModel, sampleImage(2048)));
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        if (!error.isEmpty()) {
            QCOMPARE(outcome.errors, QStringList { error });
            QCOMPARE(outcome.progress, QList<int> { 0 });
            QCOMPARE(record.pageNumbers, QList<int> { 0 });
            return;
        }
        QCOMPARE(outcome.errors, QStringList());
        QCOMPARE(outcome.succeeded, 1);
        QCOMPARE(outcome.progress, (QList<int> { 0, 0, 50 }));
        QCOMPARE(record.image, sampleImage(2048));
        QCOMPARE(record.finishCount, 4);
    }

    void afterTheUpdate_data()
    {
        QTest::addColumn<QString>("meterModel");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("wrongPageAt"); // -1: every page answered
        QTest::addColumn<int>("kind"); // LinkFailure::Kind
        QTest::addColumn<bool>("answeredAfter");
        QTest::addColumn<int>("identifications");
        QTest::addColumn<int>("finishes");
        QTest::addColumn<QString>("result"); // the journal's second line
        QTest::newRow("answers again") << kModel << QString() << -1 << int(LinkFailure::Kind::None) << true << 2 << 4
                                       << "ok";
        // Three attempts, each followed by the finish requests.
        QTest::newRow("silent after the update") << kModel << "silent,match=tilde,command=293F,after=1,times=all" << -1
                                                 << int(LinkFailure::Kind::None) << false << 4 << 8 << "ok";
        QTest::newRow("page refused") << kModel << QString() << 1 << int(LinkFailure::Kind::ImageIncomplete) << false
                                      << 1 << 0 << "固件更新失败,发送文件数据失败!";
        QTest::newRow("other model") << "VX-300" << QString() << -1 << int(LinkFailure::Kind::WrongModel) << false << 1
                                     << 2
                                     << "固件更新失败,BIN文件与设备型号不一致!\n设备型号: VX-300\n文件型号: VX-200";
    }

    // Every update is journaled before and after; a finished one asks the
    // rebooting meter once more.
    void afterTheUpdate()
    {
        QFETCH(QString, meterModel);
        QFETCH(QString, fault);
        QFETCH(int, wrongPageAt);
        QFETCH(int, kind);
        QFETCH(bool, answeredAfter);
        QFETCH(int, identifications);
        QFETCH(int, finishes);
        QFETCH(QString, result);
        TempWorkDir dir;
        SimRunner meter(profile(meterModel), options(Line::Udp));
        QVERIFY(meter.isStarted());
        if (!fault.isEmpty())
            meter.addFault(fault);
        if (wrongPageAt >= 0)
            meter.call([wrongPageAt](MeterSim &sim) {
                sim.state().extra.insert(QStringLiteral("firmware/wrongPageReplyAt"), wrongPageAt);
            });
        QMap<QString, QVariant> map = package(kModel, sampleImage(3000)).infoMap();
        map.insert(QLatin1String(kPackageVersionKey), QStringLiteral("V9"));
        DEncryptInfo info;
        info.setInfoMap(map);
        Journal journal;
        QElapsedTimer timer;
        timer.start();
        const FirmwareUpdateResult update = runFirmwareUpdate(meterLink(meter, true), info, journal, UpdateSteps());
        QCOMPARE(int(update.failure.kind), kind);
        QCOMPARE(update.answeredAfter, answeredAfter);
        QCOMPARE(update.modelMismatch, kind == int(LinkFailure::Kind::WrongModel));
        QCOMPARE(update.journalError, QString());
        // Bounded: at most about ten seconds for a meter that stays silent.
        QVERIFY2(timer.elapsed() < 12000, qPrintable(QString::number(timer.elapsed())));
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.identifyCount, identifications);
        QCOMPARE(record.finishCount, finishes);
        QStringList lines;
        const JournalReader journalRead;
        for (const JournalEntry &entry : journalRead.entries())
            lines << QStringList { entry.name, entry.requestedValue, entry.result }.join(QLatin1Char('|'));
        QCOMPARE(lines, (QStringList { "firmware|VX-200 V9|started", "firmware|VX-200 V9|" + result }));
    }

    // The check before a fleet update: identification and finish, nothing erased.
    void modelCheckNeverErases_data()
    {
        QTest::addColumn<QString>("meterModel");
        QTest::addColumn<bool>("mismatch");
        QTest::newRow("same model") << kModel << false;
        QTest::newRow("other model") << "VX-300" << true;
    }
    void modelCheckNeverErases()
    {
        QFETCH(QString, meterModel);
        QFETCH(bool, mismatch);
        TempWorkDir dir;
        SimRunner meter(profile(meterModel), options(Line::Pty));
        QVERIFY(meter.isStarted());
        const FirmwareUpdateResult check = checkFirmwareModel(meterLink(meter, false), package(kModel, "x"));
        QCOMPARE(check.modelMismatch, mismatch);
        QCOMPARE(check.failure.failed(), mismatch);
        const SimFirmwareRecord record = SimFirmwareRecord::fromState(meter.state());
        QCOMPARE(record.identifyCount, 1);
        QCOMPARE(record.eraseCount, 0);
        QCOMPARE(record.finishCount, 2);
        QVERIFY(!QFile::exists(dir.filePath("journal.csv")));
    }

    void channelOpenFailure()
    {
        TempWorkDir dir;
        storeLinkSettings(LinkSettings::overSerial(QStringLiteral("/dev/vexa-no-such-port"), 255));
        const Outcome outcome = runUpdate(package(kModel, sampleImage(10)));
        // The target and the system's reason follow the specified text.
        QCOMPARE(outcome.errors,
            QStringList { QStringLiteral("固件更新失败,打开串口失败: /dev/vexa-no-such-port\n"
                                         "/dev/vexa-no-such-port 9600 8N1 · 地址 255 (No such file or directory)"
                                         "%1")
                              .arg(QStringLiteral(": 请检查端口名称，以及端口是否被其他程序占用。")) });
        QCOMPARE(outcome.progress, QList<int>());
    }
};

QTEST_GUILESS_MAIN(TstUpdateThread)
#include "tst_updatethread.moc"
