#include "app/mainwindow.h"
#include "items/configtree.h"
#include "items/modifydialog.h"
#include "link/devicechannel.h"
#include "sim/simframe.h"
#include "tests/items/metersettings.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// Index of the demo items used below.
constexpr int SoftwareVersion = 2; // read-only
constexpr int BaudRate = 5;
constexpr int FactoryReset = 27; // command

void refresh(MainWindow &window)
{
    window.slotRefresh();
    QVERIFY(window.refreshThread()->wait(20000));
    QCoreApplication::processEvents();
}

QTreeWidgetItem *rowFor(MainWindow &window, int index)
{
    ConfigTree *tree = window.configTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->data(0, Qt::UserRole).toInt() == index)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

QList<SimRequest> writes(const SimRunner &meter)
{
    QList<SimRequest> result;
    for (const SimRequest &request : meter.receivedRequests()) {
        if (request.isItemWrite())
            result << request;
    }
    return result;
}

QString status(const MainWindow &window)
{
    return window.statusBar()->currentMessage();
}

} // namespace

class TstItemWrite : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new TempWorkDir);
        m_meter.reset(new SimRunner(SimProfile::demo(), meterTransports()));
        QVERIFY(m_meter->isStarted());
        connectToMeter(*m_meter, true);
        m_window.reset(new MainWindow);
        refresh(*m_window);
        QCOMPARE(m_window->configTree()->topLevelItemCount(), SimProfile::demo().items.size());
        m_meter->clearReceived();
    }
    void cleanup()
    {
        m_window.reset();
        m_meter.reset();
        singleton<Config>::release();
        m_dir.reset();
    }

    void editedChoiceIsWritten()
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer]() {
            auto *dialog = qobject_cast<ModifyDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            timer->stop();
            dialog->findChild<QComboBox *>()->setCurrentText("38400");
            dialog->findChild<QPushButton *>("commit")->click();
        });
        timer->start(10);
        QTreeWidgetItem *row = rowFor(*m_window, BaudRate);
        m_window->slotItemDoubleClicked(row, 0);
        QCOMPARE(m_meter->items().at(BaudRate).value, QStringLiteral("38400"));
        QCOMPARE(row->text(1), QStringLiteral(": 38400"));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
    }

    void refusedWriteKeepsTheMetersValue()
    {
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, SoftwareVersion);
        m_window->writeEditedItem(row, "V9.9", 2);
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(row->text(1), QStringLiteral(": V2.3.1"));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置失败,该项不支持修改"));
    }

    void commandIsSentWithAnEmptyValue()
    {
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, FactoryReset);
        QString value;
        QCOMPARE(m_window->editItem(row->text(0), row->text(1), value), 1);
        m_window->writeEditedItem(row, value, 1);
        QCOMPARE(catcher.texts(), QStringList { "恢复出厂设置" });
        QByteArray frame = QByteArray::fromHex("010F4B1B00000100");
        simAppendCrcLowFirst(frame);
        QCOMPARE(m_meter->receivedFrames(), QList<QByteArray> { frame });
        QCOMPARE(m_meter->state().commandsRun, QStringList { "恢复出厂设置" });
        QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
        QCOMPARE(row->text(1), QString());
    }

    void unsendableValuesAreRefused_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("255 bytes") << QString(255, 'x') << "配置值过长: 编码后为255字节,设备最多接受254字节,未写入";
        QTest::newRow("128 wide characters")
            << QString(128, QChar(0x6D41)) << "配置值过长: 编码后为256字节,设备最多接受254字节,未写入";
        QTest::newRow("no GB2312 form") << QStringLiteral("a\U0001F600") << "配置值含有设备无法表示的字符,未写入";
    }
    void unsendableValuesAreRefused()
    {
        QFETCH(QString, value);
        QFETCH(QString, reason);
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, 9);
        m_window->writeEditedItem(row, value, 2);
        QCOMPARE(catcher.texts(), (QStringList { reason, "写入配置失败: " + value }));
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("提交"));
        QCOMPARE(catcher.boxes().at(1).title, QStringLiteral("写入配置"));
        QVERIFY(m_meter->receivedFrames().isEmpty());
        QCOMPARE(row->text(1), QStringLiteral(": 192.168.1.120"));
    }

    void longestValueIsSent()
    {
        ModalBoxCatcher catcher;
        m_window->writeEditedItem(rowFor(*m_window, 9), QString(254, 'x'), 2);
        QCOMPARE(writes(*m_meter).size(), 1);
        QCOMPARE(quint8(writes(*m_meter).at(0).bytes.at(6)), quint8(255));
    }

    void batchWritesEveryValue()
    {
        ModalBoxCatcher catcher;
        rowFor(*m_window, BaudRate)->setText(1, ": 19200");
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(m_meter->items().at(BaudRate).value, QStringLiteral("19200"));
        QList<int> written;
        for (const SimRequest &request : writes(*m_meter))
            written << request.index;
        QCOMPARE(written.size(), SimProfile::demo().items.size() - 2);
        QVERIFY(!written.contains(FactoryReset));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
    }

    void batchStopsAtTheFailingRow_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("error");
        QTest::newRow("other address") << true << "other-address,match=write,index=7"
                                       << "硬件返回数据校验错误";
        QTest::newRow("bad crc") << false << "bad-crc,match=write,index=7"
                                 << "CRC校验错误";
    }
    void batchStopsAtTheFailingRow()
    {
        QFETCH(bool, udp);
        QFETCH(QString, fault);
        QFETCH(QString, error);
        connectToMeter(*m_meter, udp);
        m_meter->addFault(fault);
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts(), (QStringList { error, "写入配置失败: 8" }));
        QList<int> written;
        for (const SimRequest &request : writes(*m_meter))
            written << request.index;
        QCOMPARE(written, (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7 }));
        QCOMPARE(m_window->configTree()->currentItem(), rowFor(*m_window, 7));
        QVERIFY(status(*m_window) != QStringLiteral("写入配置成功"));
    }

    void answerForAnotherItemIsNotAWrite_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("single") << false;
        QTest::newRow("batch") << true;
    }
    void answerForAnotherItemIsNotAWrite()
    {
        QFETCH(bool, batch);
        // The meter answers for an item of another name, as a late answer to
        // an earlier request would look.
        m_meter->call([](MeterSim &sim) { sim.state().items[BaudRate].name = QStringLiteral("数据位(7/8)"); });
        QTreeWidgetItem *row = rowFor(*m_window, BaudRate);
        row->setText(1, ": 19200");
        ModalBoxCatcher catcher;
        if (batch)
            m_window->slotWriteItems();
        else
            m_window->writeEditedItem(row, "19200", 2);
        const QString mismatch
            = QStringLiteral("设备应答的配置项“数据位(7/8)”不是所写的“波特率(2400/4800/9600/19200/38400)”,写入未确认");
        QCOMPARE(catcher.texts(), (QStringList { mismatch, "写入配置失败: 19200" }));
        QCOMPARE(row->text(1), QStringLiteral(": 19200"));
        QCOMPARE(writes(*m_meter).last().index, BaudRate);
        QVERIFY(status(*m_window) != QStringLiteral("写入配置成功"));
    }

    void nothingRunsDuringOrAfterAWrite()
    {
        // The first write blocks the window while clicks queue up; the second
        // fails, and its error boxes run an event loop in the middle of the
        // batch. Nothing clicked during either may run, then or afterwards.
        ConfigTree *tree = m_window->configTree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            if (i != 3 && i != 4)
                tree->topLevelItem(i)->setText(1, QString());
        }
        m_meter->addFault("delay,match=write,index=3,delay=1000");
        m_meter->addFault("other-address,match=write,index=4");
        QAction *save = m_window->findChild<QAction *>("save");
        QAction *import = m_window->findChild<QAction *>("import_2");
        QList<bool> enabledDuring;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, this, [&]() {
            enabledDuring << save->isEnabled() << import->isEnabled();
            save->trigger();
            m_window->slotWriteItems();
            m_window->slotSyncTime();
        });
        clicker.start(20);
        std::thread queued([save]() {
            for (int i = 0; i < 3; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                QMetaObject::invokeMethod(save, "trigger", Qt::QueuedConnection);
            }
        });
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        clicker.stop();
        queued.join();
        QCoreApplication::processEvents();
        QCOMPARE(catcher.texts(), (QStringList { "硬件返回数据校验错误", "写入配置失败: 1" }));
        QCOMPARE(writes(*m_meter).size(), 2);
        QCOMPARE(m_meter->state().clockSetCount, 0);
        QVERIFY(!enabledDuring.isEmpty());
        QVERIFY(!enabledDuring.contains(true));
        QVERIFY(save->isEnabled() && import->isEnabled());
        QCOMPARE(tree->topLevelItemCount(), SimProfile::demo().items.size());
    }

    void refreshSaysWhichItemItWaitsFor()
    {
        m_meter->addFault(QStringLiteral("delay,match=read,index=3,delay=1500"));
        m_window->slotRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(status(*m_window), QStringLiteral("正在读取第 4 项…"), 5000);
        QCOMPARE(m_window->configTree()->cursor().shape(), Qt::BusyCursor);
        QVERIFY(m_window->refreshThread()->wait(20000));
        QCoreApplication::processEvents();
        QCOMPARE(m_window->configTree()->topLevelItemCount(), SimProfile::demo().items.size());
        QCOMPARE(m_window->configTree()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(status(*m_window), QString());
    }

    void writeWithoutConnection()
    {
        appSettings()->setValue("communicate/udp", 0);
        appSettings()->remove("serial/port");
        ModalBoxCatcher catcher;
        m_window->writeEditedItem(rowFor(*m_window, BaudRate), "9600", 2);
        QCOMPARE(catcher.texts(),
            QStringList { QStringLiteral("写入错误,连接设备失败\n未选择串口 · 地址 %1: "
                                         "请检查端口名称，以及端口是否被其他程序占用。")
                              .arg(m_meter->address()) });
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("写入配置"));
        QCOMPARE(status(*m_window), QStringLiteral("写入错误,连接设备失败"));
    }

private:
    QScopedPointer<TempWorkDir> m_dir;
    QScopedPointer<SimRunner> m_meter;
    QScopedPointer<MainWindow> m_window;
};

QTEST_MAIN(TstItemWrite)
#include "tst_itemwrite.moc"
