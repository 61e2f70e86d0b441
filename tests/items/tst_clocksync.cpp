#include "app/mainwindow.h"
#include "items/itemsession.h"
#include "link/devicechannel.h"
#include "sim/simframe.h"
#include "tests/items/metersettings.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QStatusBar>
#include <QtTest>

#include <thread>

class TstClockSync : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void meterTakesThePcTime_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<bool>("itemAnswerFirst");
        QTest::newRow("udp") << true << false;
        QTest::newRow("serial") << false << false;
        // An item answer from an earlier request lands in the clock's exchange
        // before the acknowledgement: it is not the clock's answer.
        QTest::newRow("udp, an item answer first") << true << true;
    }
    void meterTakesThePcTime()
    {
        QFETCH(bool, udp);
        QFETCH(bool, itemAnswerFirst);
        TempWorkDir dir;
        SimRunner meter(SimProfile::demo(), meterTransports());
        connectToMeter(meter, udp);
        MainWindow window;
        ModalBoxCatcher catcher;
        std::thread late;
        if (itemAnswerFirst) {
            meter.addFault("delay,match=clock,delay=400");
            late = std::thread([&meter] {
                meter.waitForFrames(1, 5000);
                const QByteArray item = simAddressAnswer(1, simEncodeText(SimProfile::demo().items.at(5).text()));
                meter.call([&item](MeterSim &sim) { sim.sendUnsolicited(item); });
            });
        }
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        window.slotSyncTime();
        if (late.joinable())
            late.join();
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QCOMPARE(catcher.texts(), QStringList { "同步时间成功" });
        QCOMPARE(catcher.boxes().at(0).icon, QMessageBox::Information);
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("同步时间"));
        const SimState state = meter.state();
        QCOMPARE(state.clockSetCount, 1);
        QVERIFY(state.clockSet >= before.addMSecs(-before.time().msec()) && state.clockSet <= after);
        QCOMPARE(state.clockDayOfWeek, state.clockSet.date().dayOfWeek());
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("准备就绪"));
    }

    void failures_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("text");
        // No answer of the clock's own: the meter may have set it.
        const QString unknown = QStringLiteral("\n结果未知：设备可能已接受该值，请重新读取确认");
        QTest::newRow("acknowledged by another address") << true << "other-address,match=clock"
                                                         << "硬件返回数据校验错误" + unknown;
        QTest::newRow("cut acknowledgement") << false << "truncate,match=clock,value=6"
                                             << "CRC校验错误" + unknown;
        // Time-outs name the target and what to check.
        QTest::newRow("silent meter") << true << "silent,match=clock"
                                      << "接受数据超时" + unknown
                + "\nUDP 127.0.0.1:%1 · 地址 1: 请检查电缆、端口和设备地址，并确认仪表已通电。";
    }
    void failures()
    {
        QFETCH(bool, udp);
        QFETCH(QString, fault);
        QFETCH(QString, text);
        TempWorkDir dir;
        SimRunner meter(SimProfile::demo(), meterTransports());
        connectToMeter(meter, udp);
        meter.addFault(fault);
        MainWindow window;
        ModalBoxCatcher catcher;
        window.slotSyncTime();
        text.replace(QLatin1String("%1"), QString::number(meter.udpPort()));
        QCOMPARE(catcher.texts(), QStringList { text });
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("同步时间"));
        QCOMPARE(window.statusBar()->currentMessage(), text.section(QLatin1Char('\n'), 0, 0));
    }

    // The meter's own refusal of an impossible date: told at once, as refused.
    void impossibleDateIsRefused()
    {
        TempWorkDir dir;
        SimRunner meter(SimProfile::demo());
        connectToMeter(meter, true);
        DeviceChannel channel;
        QVERIFY(channel.open(storedLinkSettings()));
        QElapsedTimer timer;
        timer.start();
        const ClockResult clock = ItemSession(channel).setClock(QDateTime(QDate(2026, 2, 30), QTime(8, 0)));
        QCOMPARE(clock.outcome, WriteOutcome::Refused);
        QCOMPARE(clock.outcomeWord(), QStringLiteral("refused"));
        QCOMPARE(clock.answer, QStringLiteral("ER"));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(meter.state().clockSetCount, 0);
    }

    void openFailure()
    {
        TempWorkDir dir;
        storeLinkSettings(LinkSettings::overSerial(dir.filePath("no-such-port"), 255));
        MainWindow window;
        ModalBoxCatcher catcher;
        window.slotSyncTime();
        // The system's reason and the target follow the port's own message.
        const QString port = dir.filePath("no-such-port");
        QCOMPARE(catcher.texts(),
            QStringList { "打开串口失败: " + port + "\n" + port
                + " 9600 8N1 · 地址 255 (No such file or directory): 请检查端口名称，以及端口是否被其他程序占用。" });
    }
};

QTEST_MAIN(TstClockSync)
#include "tst_clocksync.moc"
