#include "app/mainwindow.h"
#include "tests/items/metersettings.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QStatusBar>
#include <QtTest>

class TstClockSync : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void meterTakesThePcTime_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("udp") << true;
        QTest::newRow("serial") << false;
    }
    void meterTakesThePcTime()
    {
        QFETCH(bool, udp);
        TempWorkDir dir;
        SimRunner meter(SimProfile::demo(), meterTransports());
        connectToMeter(meter, udp);
        MainWindow window;
        ModalBoxCatcher catcher;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        window.slotSyncTime();
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
        QTest::newRow("acknowledged by another address") << true << "other-address,match=clock"
                                                         << "同步时间失败";
        QTest::newRow("cut acknowledgement") << false << "truncate,match=clock,value=6"
                                             << "CRC校验错误";
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
        QCOMPARE(catcher.texts(), QStringList { text });
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("同步时间"));
        QCOMPARE(window.statusBar()->currentMessage(), text);
    }

    void openFailure()
    {
        TempWorkDir dir;
        appSettings()->setValue("communicate/udp", 0);
        appSettings()->setValue("serial/port", dir.filePath("no-such-port"));
        MainWindow window;
        ModalBoxCatcher catcher;
        window.slotSyncTime();
        QCOMPARE(catcher.texts(), QStringList { "打开串口失败: " + dir.filePath("no-such-port") });
    }
};

QTEST_MAIN(TstClockSync)
#include "tst_clocksync.moc"
