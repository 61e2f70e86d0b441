#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "items/configtree.h"
#include "items/itempage.h"
#include "items/itemframes.h"
#include "items/knownvalues.h"
#include "items/writereviewdialog.h"
#include "link/devicechannel.h"
#include "sim/simframe.h"
#include "tests/items/metersettings.h"
#include "tests/support/itemedit.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QRegularExpression>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// Index of the demo items used below.
constexpr int kSoftwareVersion = 2; // read-only
constexpr int kBaudRate = 5;
constexpr int kParity = 6;
constexpr int kGateway = 11;
constexpr int kFactoryReset = 27; // command

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

QList<int> writtenIndices(const SimRunner &meter)
{
    QList<int> indices;
    for (const SimRequest &request : writes(meter))
        indices << request.index;
    return indices;
}

// Answers the next review: unchecks the given indices, records what it saw.
struct ReviewAnswer
{
    QVector<ReviewRow> seen;
    QString summary;
    bool asked = false;

    void arm(bool write, const QList<int> &uncheck = {})
    {
        WriteReviewDialog::setNextAnswer([this, write, uncheck](WriteReviewDialog &dialog) {
            asked = true;
            seen = dialog.rows();
            for (int i = 0; i < seen.size(); ++i) {
                if (uncheck.contains(seen.at(i).request.index))
                    dialog.setChecked(i, false);
            }
            summary = dialog.summaryText();
            return write;
        });
    }
};

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
        // The plain batch write unless a test asks for the review or the backup.
        writeReviewBeforeWrite(*appSettings(), false);
        writeBackupBeforeWrite(*appSettings(), false);
        m_window.reset(new MainWindow);
        refresh(*m_window);
        QCOMPARE(m_window->configTree()->topLevelItemCount(), SimProfile::demo().items.size());
        m_meter->clearReceived();
    }
    void cleanup()
    {
        WriteReviewDialog::setNextAnswer(nullptr);
        m_window.reset();
        m_meter.reset();
        singleton<Config>::release();
        m_dir.reset();
    }

    void editedChoiceIsWritten()
    {
        QTreeWidgetItem *row = rowFor(*m_window, kBaudRate);
        editItemRow(*m_window, row, "38400");
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("38400"));
        QCOMPARE(row->text(1), QStringLiteral(": 38400"));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
    }

    void refusedWriteKeepsTheMetersValue()
    {
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, kSoftwareVersion);
        editItemRow(*m_window, row, "V9.9");
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(row->text(1), QStringLiteral(": V2.3.1"));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置失败,该项不支持修改"));
    }

    void commandIsSentWithAnEmptyValue()
    {
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, kFactoryReset);
        m_window->slotItemDoubleClicked(row, 1);
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
        // Item 9 answers "IP地址:" and the value in at most 255 bytes: 248 are left for the value.
        QTest::newRow("255 bytes") << QString(255, 'x') << "配置值过长: 编码后为255字节,设备最多接受248字节,未写入";
        QTest::newRow("fits the frame, not the answer")
            << QString(249, 'x') << "配置值过长: 编码后为249字节,设备最多接受248字节,未写入";
        QTest::newRow("128 wide characters")
            << QString(128, QChar(0x6D41)) << "配置值过长: 编码后为256字节,设备最多接受248字节,未写入";
        QTest::newRow("no GB2312 form") << QStringLiteral("a\U0001F600") << "配置值含有设备无法表示的字符,未写入";
        // The codec gives the euro sign one byte the meter would store as something else.
        QTest::newRow("a GBK byte only") << QStringLiteral("1€") << "配置值含有设备无法表示的字符,未写入";
    }
    void unsendableValuesAreRefused()
    {
        QFETCH(QString, value);
        QFETCH(QString, reason);
        ModalBoxCatcher catcher;
        QTreeWidgetItem *row = rowFor(*m_window, 9);
        editItemRow(*m_window, row, value);
        QCOMPARE(catcher.texts(), (QStringList { reason, "写入配置失败: " + value }));
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("提交"));
        QCOMPARE(catcher.boxes().at(1).title, QStringLiteral("写入配置"));
        QVERIFY(m_meter->receivedFrames().isEmpty());
        QCOMPARE(row->text(1), QStringLiteral(": 192.168.1.120"));
    }

    void longestValueIsSent()
    {
        ModalBoxCatcher catcher;
        editItemRow(*m_window, rowFor(*m_window, 9), QString(248, 'x'));
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(writes(*m_meter).size(), 1);
        QCOMPARE(quint8(writes(*m_meter).at(0).bytes.at(6)), quint8(249));
        QCOMPARE(m_meter->items().at(9).value, QString(248, 'x'));
    }

    void batchWritesEveryValue()
    {
        ModalBoxCatcher catcher;
        rowFor(*m_window, kBaudRate)->setText(1, ": 19200");
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("19200"));
        QList<int> written;
        for (const SimRequest &request : writes(*m_meter))
            written << request.index;
        QCOMPARE(written.size(), SimProfile::demo().items.size() - 2);
        QVERIFY(!written.contains(kFactoryReset));
        QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
        // The summary follows a change of language.
        QVERIFY(m_dir->copyTranslations());
        m_window->slot_en_US();
        QTRY_COMPARE(m_window->findChild<QLabel *>("writeSummary")->text(),
            QStringLiteral("Batch write: %1 written, 0 refused by the device, 0 not written").arg(written.size()));
    }

    // Row 7's write is not answered as it should be. When reading the item
    // back shows the value, the batch goes on; otherwise its outcome is
    // unknown and the batch stops there.
    void batchStopsAtTheFailingRow_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("error");
        const QString unknown = QStringLiteral("\n结果未知：设备可能已接受该值，请重新读取确认");
        QTest::newRow("bad crc, read back") << false << QStringList { "bad-crc,match=write,index=7" } << QString();
        QTest::newRow("bad crc, read-back fails")
            << false << QStringList { "bad-crc,match=write,index=7", "bad-crc,match=read" } << "CRC校验错误" + unknown;
        QTest::newRow("other address, read-back fails")
            << true << QStringList { "other-address,match=write,index=7", "other-address,match=read" }
            << "硬件返回数据校验错误" + unknown;
    }
    void batchStopsAtTheFailingRow()
    {
        QFETCH(bool, udp);
        QFETCH(QStringList, faults);
        QFETCH(QString, error);
        connectToMeter(*m_meter, udp);
        for (const QString &fault : faults)
            m_meter->addFault(fault);
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QList<int> written;
        for (const SimRequest &request : writes(*m_meter))
            written << request.index;
        const QList<SimRequest> readBack = m_meter->receivedRequests();
        QVERIFY(std::any_of(readBack.cbegin(), readBack.cend(),
            [](const SimRequest &request) { return request.isItemRead() && request.index == 7; }));
        if (error.isEmpty()) {
            QCOMPARE(catcher.texts(), QStringList());
            QCOMPARE(written.size(), SimProfile::demo().items.size() - 2);
            QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
            return;
        }
        QCOMPARE(catcher.texts(), (QStringList { error, "写入配置失败: 8" }));
        QCOMPARE(written, (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7 }));
        QCOMPARE(m_window->configTree()->currentItem(), rowFor(*m_window, 7));
        QVERIFY(status(*m_window) != QStringLiteral("写入配置成功"));
        QCOMPARE(m_window->findChild<QLabel *>("writeSummary")->text(),
            QStringLiteral("批量写入: 已写入7项,设备未接受0项,结果未知1项,未写入19项"));
        const QByteArray journal = m_dir->readFile("journal.csv");
        // The list was read over UDP: over the pseudo-terminal the old value is not known.
        QVERIFY(journal.contains(QStringLiteral(",7,数据位(7/8),%1,8,,unknown,8,").arg(udp ? "8" : "").toUtf8()));
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
        m_meter->call([](MeterSim &sim) { sim.state().items[kBaudRate].name = QStringLiteral("数据位(7/8)"); });
        QTreeWidgetItem *row = rowFor(*m_window, kBaudRate);
        // A batch sends what the row shows; an edit sends what is typed.
        if (batch)
            row->setText(1, ": 19200");
        const QString shown = row->text(1);
        ModalBoxCatcher catcher;
        if (batch)
            m_window->slotWriteItems();
        else
            editItemRow(*m_window, row, "19200");
        // The write's own answer never comes, and reading back names the other item too.
        const QString mismatch
            = QStringLiteral("设备应答的配置项“数据位(7/8)”不是所写的“波特率(2400/4800/9600/19200/38400)”,写入未确认"
                             "\n结果未知：设备可能已接受该值，请重新读取确认");
        QCOMPARE(catcher.texts(), (QStringList { mismatch, "写入配置失败: 19200" }));
        QCOMPARE(row->text(1), shown);
        QCOMPARE(writes(*m_meter).last().index, kBaudRate);
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
        // Neither the write nor reading the item back comes from the meter's port.
        m_meter->addFault("other-port,match=write,index=4");
        m_meter->addFault("other-port,match=read,times=all");
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
        QCOMPARE(catcher.texts(),
            (QStringList { QStringLiteral("接受数据超时\n结果未知：设备可能已接受该值，请重新读取确认\n"
                                          "UDP 127.0.0.1:%1 · 地址 1: 请检查电缆、端口和设备地址，并确认仪表已通电。")
                               .arg(m_meter->udpPort()),
                "写入配置失败: 1" }));
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

    void batchFramesWithoutReview()
    {
        ModalBoxCatcher catcher;
        rowFor(*m_window, kBaudRate)->setText(1, ": 19200");
        ReviewAnswer review;
        review.arm(true);
        m_window->slotWriteItems();
        QVERIFY(!review.asked);
        QList<QByteArray> expected;
        const QList<SimItem> items = SimProfile::demo().items;
        for (int index = 0; index < items.size(); ++index) {
            if (!items.at(index).command)
                expected << buildItemWriteFrame(1, index, index == kBaudRate ? "19200" : items.at(index).value);
        }
        QCOMPARE(m_meter->receivedFrames(), expected);
        QCOMPARE(catcher.texts(), QStringList());
    }

    void reviewRowsAfterRefreshThenImport()
    {
        writeReviewBeforeWrite(*appSettings(), true);
        QVERIFY(m_dir->writeFile("in.csv",
            "00. 设备名称,\n05. 波特率(2400/4800/9600/19200/38400), 19200\n06. 校验方式(无/奇/偶), 无\n"
            "27. 恢复出厂设置, 1\n40. 新项, 7\n"));
        setNextFileNames({ m_dir->filePath("in.csv") });
        m_window->slotImportItems();
        QCOMPARE(m_window->configTree()->topLevelItemCount(), 5);
        ReviewAnswer review;
        review.arm(false);
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QVERIFY(review.asked);
        QCOMPARE(review.seen.size(), 4); // row 00 came without a value
        // Row 27 is a command on the meter, whatever the file says.
        struct Expected
        {
            int index;
            QString meter;
            ReviewRow::State state;
            bool command;
            bool checked;
        };
        const QList<Expected> expected { { kBaudRate, "9600", ReviewRow::State::Changed, false, true },
            { kParity, "无", ReviewRow::State::Unchanged, false, false },
            { kFactoryReset, "", ReviewRow::State::Unknown, true, false },
            { 40, "", ReviewRow::State::Unknown, false, true } };
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(review.seen.at(i).request.index, expected.at(i).index);
            QCOMPARE(review.seen.at(i).meterValue, expected.at(i).meter);
            QCOMPARE(review.seen.at(i).state, expected.at(i).state);
            QCOMPARE(review.seen.at(i).command, expected.at(i).command);
            QCOMPARE(review.seen.at(i).checked, expected.at(i).checked);
        }
        QCOMPARE(review.summary, QStringLiteral("将写入2项,未改变1项,设备值未知2项"));
        QVERIFY(writes(*m_meter).isEmpty());
        QCOMPARE(status(*m_window), QStringLiteral("已取消写入配置"));
    }

    void reviewSendsOnlyCheckedRows_data()
    {
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QList<int>>("uncheck");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QString>("box");
        QTest::newRow("changed rows") << QList<int> { kBaudRate, kGateway } << QList<int>()
                                      << QList<int> { kBaudRate, kGateway } << "";
        QTest::newRow("one unchecked") << QList<int> { kBaudRate, kGateway } << QList<int> { kBaudRate }
                                       << QList<int> { kGateway } << "";
        QTest::newRow("identification never by default")
            << QList<int> { 0, kBaudRate } << QList<int>() << QList<int> { kBaudRate } << "";
        QTest::newRow("nothing changed") << QList<int>() << QList<int>() << QList<int>()
                                         << "要写入的值与设备中的值相同,没有写入任何配置项";
    }
    void reviewSendsOnlyCheckedRows()
    {
        QFETCH(QList<int>, changed);
        QFETCH(QList<int>, uncheck);
        QFETCH(QList<int>, sent);
        QFETCH(QString, box);
        writeReviewBeforeWrite(*appSettings(), true);
        for (int index : changed)
            rowFor(*m_window, index)->setText(1, ": 19200");
        ReviewAnswer review;
        review.arm(true, uncheck);
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts(), box.isEmpty() ? QStringList() : QStringList { box });
        QCOMPARE(review.asked, box.isEmpty());
        QCOMPARE(writtenIndices(*m_meter), sent);
        QList<QByteArray> frames;
        for (int index : sent)
            frames << buildItemWriteFrame(1, index, "19200");
        QCOMPARE(m_meter->receivedFrames(), frames);
        if (!sent.isEmpty())
            QCOMPARE(status(*m_window), QStringLiteral("写入配置成功"));
    }

    // Values that cannot be written are shown unchecked, with the reason.
    void reviewMarksRowsThatCannotBeWritten()
    {
        writeReviewBeforeWrite(*appSettings(), true);
        rowFor(*m_window, kBaudRate)->setText(1, ": 19200");
        rowFor(*m_window, 9)->setText(1, ": " + QString(249, 'x'));
        rowFor(*m_window, kGateway)->setText(1, QStringLiteral(": 1€"));
        ReviewAnswer review;
        WriteReviewDialog::setNextAnswer([&review](WriteReviewDialog &dialog) {
            review.seen = dialog.rows();
            // Checking such a row does not get it sent.
            for (int i = 0; i < review.seen.size(); ++i)
                dialog.setChecked(i, review.seen.at(i).request.index == 9 || review.seen.at(i).checked);
            review.seen = dialog.rows();
            // The list's row number beside the item index, each under its own title.
            auto *list = dialog.findChild<QTreeWidget *>("reviewList");
            review.summary
                = list->headerItem()->text(0) + QLatin1Char('/') + list->headerItem()->text(1) + QLatin1Char('|');
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *row = list->topLevelItem(i);
                review.summary += row->text(0) + QLatin1Char('/') + row->text(1) + QLatin1Char(' ') + row->text(5)
                    + QLatin1Char('|');
            }
            return true;
        });
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QMap<int, QString> problems;
        for (const ReviewRow &row : review.seen) {
            if (!row.problem.isEmpty())
                problems.insert(row.request.index, row.problem);
            QCOMPARE(row.checked, row.request.index == kBaudRate);
        }
        QCOMPARE(problems,
            (QMap<int, QString> { { 9, "配置值过长: 编码后为249字节,设备最多接受248字节,未写入" },
                { kGateway, "配置值含有设备无法表示的字符,未写入" } }));
        QVERIFY2(review.summary.startsWith("行号/配置项序号|"), qPrintable(review.summary));
        QVERIFY2(review.summary.contains("|06/5 |"), qPrintable(review.summary));
        QVERIFY2(review.summary.contains(QStringLiteral("|12/%1 配置值含有设备无法表示的字符,未写入|").arg(kGateway)),
            qPrintable(review.summary));
        QCOMPARE(writtenIndices(*m_meter), QList<int> { kBaudRate });
        QCOMPARE(catcher.texts(), QStringList());
    }

    void refusedValueIsMarkedAndJournaled_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("single") << false;
        QTest::newRow("batch") << true;
    }
    void refusedValueIsMarkedAndJournaled()
    {
        QFETCH(bool, batch);
        writeReviewBeforeWrite(*appSettings(), true);
        QTreeWidgetItem *row = rowFor(*m_window, kSoftwareVersion);
        ReviewAnswer review;
        review.arm(true);
        ModalBoxCatcher catcher;
        if (batch) {
            row->setText(1, ": V9.9");
            m_window->slotWriteItems();
            QCOMPARE(writtenIndices(*m_meter), QList<int> { kSoftwareVersion });
            QCOMPARE(m_window->findChild<QLabel *>("writeSummary")->text(),
                QStringLiteral("批量写入: 已写入0项,设备未接受1项,未写入0项"));
        } else {
            editItemRow(*m_window, row, "V9.9");
        }
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(row->text(1), QStringLiteral(": V2.3.1"));
        QCOMPARE(row->toolTip(1), QStringLiteral("设备未接受该值"));
        QVERIFY(row->background(1) != QBrush());
        const QList<QByteArray> lines = m_dir->readFile("journal.csv").split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith("\xEF\xBB\xBFtime,connection,"));
        QVERIFY2(lines.at(1).contains(",udp 127.0.0.1:" + QByteArray::number(m_meter->udpPort())
                     + ",1,VX-200,VX-200 智能流量积算仪,2,软件版本,V2.3.1,V9.9,V2.3.1,refused,3,"),
            lines.at(1).constData());

        // A later write the meter takes clears the mark.
        editItemRow(*m_window, rowFor(*m_window, kBaudRate), "19200");
        QCOMPARE(rowFor(*m_window, kBaudRate)->toolTip(1), QStringLiteral("写入和导出使用配置项序号5"));
        QCOMPARE(m_window->knownValues().value(kBaudRate), QStringLiteral("19200"));
        QCOMPARE(m_window->knownValues().entry(kBaudRate).source, KnownMeterValues::Source::Write);
    }

    void journalQuotesAndWarnsOnce()
    {
        const QString value = QStringLiteral("a,\"b\"");
        editItemRow(*m_window, rowFor(*m_window, kGateway), value);
        QByteArray journal = m_dir->readFile("journal.csv");
        QVERIFY2(
            journal.contains(",11,网关,192.168.1.1,\"a,\"\"b\"\"\",\"a,\"\"b\"\"\",ok,12,\r\n"), journal.constData());
        QCOMPARE(journal.count("time,connection"), 1);
        {
            // The clock is recorded as the command line records it.
            ModalBoxCatcher answered;
            m_window->slotSyncTime();
        }
        QVERIFY(QRegularExpression(QStringLiteral(",clock,,\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,OK,ok,,\r\n$"))
                    .match(QString::fromUtf8(m_dir->readFile("journal.csv")))
                    .hasMatch());

        QVERIFY(QFile::remove(m_dir->filePath("journal.csv")));
        QVERIFY(QDir(m_dir->path()).mkdir("journal.csv"));
        ModalBoxCatcher catcher;
        editItemRow(*m_window, rowFor(*m_window, kBaudRate), "19200");
        m_window->slotSyncTime();
        QCOMPARE(catcher.boxes().size(), 2);
        QVERIFY(catcher.texts().at(0).startsWith("无法写入记录文件journal.csv"));
        QCOMPARE(catcher.texts().at(1), QStringLiteral("同步时间成功"));
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("19200"));
    }

    void cancelStopsAfterTheCurrentItem()
    {
        // Item 3 takes a while; Cancel is clicked while it is on the line.
        m_meter->addFault("delay,match=write,index=3,delay=600");
        QTimer canceller;
        QStringList labels;
        connect(&canceller, &QTimer::timeout, this, [&]() {
            auto *progress = m_window->findChild<QProgressDialog *>("writeProgress");
            if (!progress || !progress->isVisible())
                return;
            labels << progress->labelText();
            if (progress->labelText().contains("出厂编号")) {
                canceller.stop();
                progress->findChild<QPushButton *>()->click();
            }
        });
        canceller.start(20);
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QCOMPARE(writtenIndices(*m_meter), (QList<int> { 0, 1, 2, 3 }));
        QCOMPARE(catcher.texts(), QStringList());
        QVERIFY(labels.contains(QStringLiteral("正在写入第4项(共27项): 出厂编号")));
        QCOMPARE(status(*m_window), QStringLiteral("已取消写入配置: 已写入4项,共27项"));
        QCOMPARE(m_window->findChild<QLabel *>("writeSummary")->text(),
            QStringLiteral("批量写入: 已写入4项,设备未接受0项,未写入23项"));
    }

    void knownValuesFollowTheMeter_data()
    {
        QTest::addColumn<QString>("secondConnection");
        QTest::addColumn<QString>("secondModel");
        QTest::addColumn<bool>("kept");
        QTest::newRow("same meter") << "udp a"
                                    << "VX-200" << true;
        QTest::newRow("other model row") << "udp a"
                                         << "VX-300" << false;
        QTest::newRow("other connection") << "udp b"
                                          << "VX-200" << false;
    }
    void knownValuesFollowTheMeter()
    {
        QFETCH(QString, secondConnection);
        QFETCH(QString, secondModel);
        QFETCH(bool, kept);
        KnownMeterValues known;
        known.noteRead("udp a", { 1, { "设备型号", "VX-200" } });
        known.noteRead("udp a", { 5, { "波特率", "9600" } });
        known.noteRead(secondConnection, { 1, { "设备型号", secondModel } });
        QCOMPARE(known.contains(5), kept);
        QCOMPARE(known.model(), secondModel);
    }

    // Before a batch the meter's values go to backups/, read first when the
    // list is another line's; restoring that file writes them back after a
    // review, a value the file could not hold listed unchecked.
    void backupBeforeBatchAndRestore_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("udp") << true;
        QTest::newRow("serial") << false;
    }
    void backupBeforeBatchAndRestore()
    {
        QFETCH(bool, udp);
        connectToMeter(*m_meter, udp);
        writeBackupBeforeWrite(*appSettings(), true);
        ModalBoxCatcher catcher;
        editItemRow(*m_window, rowFor(*m_window, kGateway), "1,2");
        rowFor(*m_window, kBaudRate)->setText(1, ": 19200");
        m_meter->clearReceived();
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("19200"));
        const QList<SimRequest> requests = m_meter->receivedRequests();
        // The list was read over UDP: over the serial line it is read again first.
        QCOMPARE(!requests.isEmpty() && requests.first().isItemRead(), !udp);
        const QStringList files = QDir(m_dir->filePath("backups")).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(status(*m_window),
            "写入配置成功,写入前的值,已保存到 "
                + QDir::toNativeSeparators(m_dir->filePath("backups/" + files.first())));
        const QByteArray backup = m_dir->readFile("backups/" + files.first());
        QVERIFY(backup.startsWith("\xEF\xBB\xBF"
                                  "00. 设备名称, VX-200 智能流量积算仪\n"));
        QVERIFY(backup.contains("\n05. 波特率(2400/4800/9600/19200/38400), 9600\n"));
        QVERIFY(backup.contains("\n11. 网关,\n"));
        const QByteArray journal = m_dir->readFile("journal.csv");
        QCOMPARE(journal.count(",backups/" + files.first().toUtf8() + "\r\n"), writes(*m_meter).size());

        m_meter->clearReceived();
        setNextFileNames({ m_dir->filePath("backups/" + files.first()) });
        ReviewAnswer review;
        review.arm(true);
        m_window->findChild<QAction *>("actionRestoreBackup")->trigger();
        QCOMPARE(QFileInfo(askedFiles().at(0).proposed).fileName(), files.first());
        QVERIFY(review.asked); // whatever items/review_before_write says
        QCOMPARE(catcher.texts(), QStringList());
        for (const ReviewRow &row : qAsConst(review.seen)) {
            QCOMPARE(row.checked, row.request.index == kBaudRate);
            if (row.request.index == kGateway)
                QVERIFY(row.problem.contains("逗号或换行"));
        }
        QCOMPARE(writtenIndices(*m_meter), QList<int> { kBaudRate });
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("9600"));
        QCOMPARE(m_meter->items().at(kGateway).value, QStringLiteral("1,2"));
        // The restore is a batch too: it made its own backup first.
        QCOMPARE(QDir(m_dir->filePath("backups")).entryList(QDir::Files).size(), 2);
    }

    void batchWithoutItsBackupDoesNotStart()
    {
        writeBackupBeforeWrite(*appSettings(), true);
        QVERIFY(m_dir->writeFile("backups", ""));
        rowFor(*m_window, kBaudRate)->setText(1, ": 19200");
        ModalBoxCatcher catcher;
        m_window->slotWriteItems();
        QCOMPARE(catcher.texts().size(), 1);
        QVERIFY2(catcher.texts().first().startsWith("无法创建备份文件夹"), qPrintable(catcher.texts().first()));
        QVERIFY(writes(*m_meter).isEmpty());
        writeBackupBeforeWrite(*appSettings(), false);
        m_window->slotWriteItems();
        QCOMPARE(m_meter->items().at(kBaudRate).value, QStringLiteral("19200"));
    }

    void openJournalFolderAction()
    {
        QAction *action = m_window->findChild<QAction *>("openJournalFolder");
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("打开记录文件夹"));
        QCOMPARE(MainWindow::journalFolderUrl(), QUrl::fromLocalFile(m_dir->path()));
        // An import does not count as what the meter holds.
        QVERIFY(m_dir->writeFile("in.csv", "05. 波特率(2400/4800/9600/19200/38400), 19200\n"));
        setNextFileNames({ m_dir->filePath("in.csv") });
        m_window->slotImportItems();
        QCOMPARE(m_window->knownValues().value(kBaudRate), QStringLiteral("9600"));
    }

    // A refresh waiting for a silent meter counts its time-out down and stops
    // on Escape or on its action, 停止 meanwhile; the list stays as it was.
    void refreshStopsAndKeepsTheList_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("停止") << false;
    }
    void refreshStopsAndKeepsTheList()
    {
        QFETCH(bool, escape);
        const int rows = m_window->configTree()->topLevelItemCount();
        m_meter->addFault("silent,match=read,times=all");
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *refresh = m_window->findChild<QAction *>("refresh");
        refresh->trigger();
        QTRY_COMPARE(refresh->text(), QStringLiteral("停止"));
        QTRY_COMPARE_WITH_TIMEOUT(status(*m_window), QStringLiteral("正在读取第 1 项… 等待设备应答…(12 s)"), 2500);
        if (escape)
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        else
            refresh->trigger();
        QVERIFY(m_window->refreshThread()->wait(1000));
        QTRY_COMPARE(refresh->text(), QStringLiteral("刷新"));
        QCOMPARE(m_window->configTree()->topLevelItemCount(), rows);
    }

    void importedValuesAreMarkedUntilWritten()
    {
        const QStringList identification = { rowFor(*m_window, 0)->text(1), rowFor(*m_window, 1)->text(1) };
        QString file;
        for (const int index : { 0, 1, kBaudRate }) {
            file += QStringLiteral("%1. %2, %3\n")
                        .arg(index, 2, 10, QLatin1Char('0'))
                        .arg(ItemPage::recordOf(rowFor(*m_window, index)).fields.value(0),
                            index == kBaudRate ? "19200" : "another meter");
        }
        QVERIFY(m_dir->writeFile("in.csv", file.toUtf8()));
        setNextFileNames({ m_dir->filePath("in.csv") });
        m_window->slotImportItems();
        // The file does not name the meter: rows 01/02 keep what it said.
        QCOMPARE((QStringList { rowFor(*m_window, 0)->text(1), rowFor(*m_window, 1)->text(1) }), identification);
        QVERIFY(rowFor(*m_window, 0)->toolTip(1) != QStringLiteral("来自文件, 未写入"));
        QTreeWidgetItem *baud = rowFor(*m_window, kBaudRate);
        QCOMPARE(baud->toolTip(1), QStringLiteral("来自文件, 未写入"));
        QCOMPARE(baud->background(1).style(), Qt::SolidPattern);
        m_window->slotWriteItems();
        QCOMPARE(writtenIndices(*m_meter), QList<int> { kBaudRate });
        QCOMPARE(baud->background(1), QBrush());
        QCOMPARE(baud->toolTip(1), QStringLiteral("写入和导出使用配置项序号%1").arg(kBaudRate));
    }

    void writeWithoutConnection_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("one item") << false;
        QTest::newRow("batch") << true;
    }
    void writeWithoutConnection()
    {
        QFETCH(bool, batch);
        storeLinkSettings(LinkSettings::overSerial("/dev/vexa-no-such-port", m_meter->address()));
        ModalBoxCatcher catcher;
        if (batch)
            m_window->slotWriteItems();
        else
            editItemRow(*m_window, rowFor(*m_window, kBaudRate), "19200");
        QCOMPARE(catcher.texts(),
            QStringList { QStringLiteral("写入错误,连接设备失败\n/dev/vexa-no-such-port 9600 8N1 · 地址 %1 "
                                         "(No such file or directory): "
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
