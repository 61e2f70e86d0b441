#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "base/messageboxes.h"
#include "items/comparedialog.h"
#include "items/configtree.h"
#include "items/itemfilteredit.h"
#include "items/writereviewdialog.h"
#include "tests/items/metersettings.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

namespace {

void refresh(MainWindow &window)
{
    window.slotRefresh();
    QVERIFY(window.refreshThread()->wait(20000));
    QCoreApplication::processEvents();
}

QStringList shownRows(const MainWindow &window)
{
    QStringList rows;
    const ConfigTree *tree = window.configTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (!tree->topLevelItem(i)->isHidden())
            rows << tree->topLevelItem(i)->text(0).section('.', 0, 0);
    }
    return rows;
}

// The table as the dialog shows it: "index|name|meter|file|result" per row.
QStringList tableRows(CompareDialog &dialog)
{
    auto *table = dialog.findChild<QTableWidget *>("compareTable");
    QStringList rows;
    for (int i = 0; i < table->rowCount(); ++i) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(i, column)->text();
        rows << cells.join('|');
    }
    return rows;
}

// The demo meter's items as its export writes them, changed by edits:
// "N=LINE" replaces item N's line, "+LINE" adds one, "-N" drops item N.
QByteArray meterFile(const QStringList &edits = {})
{
    QMap<int, QString> lines;
    const QList<SimItem> items = SimProfile::demo().items;
    for (int i = 0; i < items.size(); ++i)
        lines.insert(i,
            QStringLiteral("%1. %2,").arg(i, 2, 10, QLatin1Char('0')).arg(items.at(i).name)
                + (items.at(i).command ? QString() : " " + items.at(i).value));
    for (const QString &edit : edits) {
        if (edit.startsWith('+'))
            lines.insert(edit.mid(1).section('.', 0, 0).toInt(), edit.mid(1));
        else if (edit.startsWith('-'))
            lines.remove(edit.mid(1).toInt());
        else
            lines.insert(edit.section('=', 0, 0).toInt(), edit.section('=', 1));
    }
    return QStringList(lines.values()).join('\n').toUtf8() + '\n';
}

} // namespace

class TstItemCompare : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new TempWorkDir);
        m_meter.reset(new SimRunner(SimProfile::demo(), meterTransports()));
        QVERIFY(m_meter->isStarted());
        connectToMeter(*m_meter, true);
        writeReviewBeforeWrite(*appSettings(), true);
        m_window.reset(new MainWindow);
        m_filter = m_window->findChild<ItemFilterEdit *>("itemFilter");
        QVERIFY(m_filter);
    }
    void cleanup()
    {
        CompareDialog::setNextAnswer(nullptr);
        WriteReviewDialog::setNextAnswer(nullptr);
        m_window.reset();
        m_meter.reset();
        singleton<Config>::release();
        m_dir.reset();
    }

    void filterHidesRowsOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("a row number and a name") << "7" << QStringList { "07", "08", "17", "27" };
        QTest::newRow("the row number written out") << "07" << QStringList { "07" };
        QTest::newRow("a name, any case") << "ip" << QStringList { "10" };
        QTest::newRow("a value, any case") << "M3" << QStringList { "15", "17" };
        QTest::newRow("nothing fits") << "xyz" << QStringList();
    }
    void filterHidesRowsOnly()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        refresh(*m_window);
        QCOMPARE(m_filter->placeholderText(), QStringLiteral("筛选 (Ctrl+F)"));
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(m_window->configTree(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_filter->hasFocus());
        QTest::keyClicks(m_filter, text);
        QCOMPARE(shownRows(*m_window), shown);
        const int total = SimProfile::demo().items.size();
        QCOMPARE(
            m_window->statusBar()->currentMessage(), QStringLiteral("显示 %1 / %2 项").arg(shown.size()).arg(total));

        // Export and the review act on every row, and the review says so.
        setNextFileNames({ m_dir->filePath("all.csv") });
        m_window->slotExportItems();
        QCOMPARE(m_dir->readFile("all.csv").count('\n'), total);
        QString note;
        int reviewed = 0;
        WriteReviewDialog::setNextAnswer([&](WriteReviewDialog &dialog) {
            note = dialog.noteText();
            reviewed = dialog.rows().size();
            return false;
        });
        m_window->configTree()->topLevelItem(5)->setText(1, ": 19200");
        m_window->slotWriteItems();
        QCOMPARE(reviewed, total - 2); // the commands have no value
        const int hiddenWithValue = total - int(shown.size()) - 2; // rows 28 and 29 are commands
        QCOMPARE(note, QStringLiteral("筛选已隐藏 %1 行，这些行同样会写入").arg(hiddenWithValue));

        QTest::keyClick(m_filter, Qt::Key_Escape);
        QCOMPARE(m_filter->text(), QString());
        QCOMPARE(shownRows(*m_window).size(), total);
        QVERIFY(!m_window->statusBar()->currentMessage().startsWith("显示"));
        // Rows that arrive under a filter are filtered as they come.
        m_filter->setText(text);
        refresh(*m_window);
        QCOMPARE(shownRows(*m_window), shown);
    }

    // Every item of either side, the differing rows first; nothing is written.
    void compareStates_data()
    {
        QTest::addColumn<bool>("known"); // refreshed before: otherwise compare refreshes first
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QStringList>("first"); // the first rows of the table
        const QString same = "00|设备名称|VX-200 智能流量积算仪|VX-200 智能流量积算仪|相同";
        QTest::newRow("equal, nothing known yet")
            << false << QStringList() << "0 项不同, 27 项相同" << QStringList { same };
        // A command is never a difference, whatever the file says.
        QTest::newRow("different, only in the meter, only in the file, command")
            << true
            << QStringList { "5=05. 波特率(2400/4800/9600/19200/38400), 38400", "-9", "27=27. 恢复出厂设置, 1",
                   "+40. 新项, 7" }
            << "3 项不同, 25 项相同"
            << QStringList { "05|波特率(2400/4800/9600/19200/38400)|9600|38400|不同",
                   "09|IP地址|192.168.1.120||仅在设备中", "40|新项||7|仅在文件中", same };
    }
    void compareStates()
    {
        QFETCH(bool, known);
        QFETCH(QStringList, edits);
        const QByteArray file = meterFile(edits);
        QFETCH(QString, summary);
        QFETCH(QStringList, first);
        if (known)
            refresh(*m_window);
        m_meter->clearReceived();
        QVERIFY(m_dir->writeFile("cmp.csv", file));
        QStringList rows;
        QString shownSummary;
        bool marked = false;
        CompareDialog::setNextAnswer([&](CompareDialog &dialog) {
            rows = tableRows(dialog);
            shownSummary = dialog.findChild<QLabel *>("compareSummary")->text();
            auto *table = dialog.findChild<QTableWidget *>("compareTable");
            marked = !table->item(0, 4)->icon().isNull() && table->item(0, 0)->background() != QBrush()
                && table->item(rows.size() - 1, 4)->icon().isNull();
            return int(CompareDialog::Closed);
        });
        ModalBoxCatcher catcher;
        setNextFileNames({ m_dir->filePath("cmp.csv") });
        m_window->findChild<QAction *>("actionCompareFile")->trigger();
        QCOMPARE(askedFiles().at(0).caption, QStringLiteral("与文件比较"));
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(shownSummary, summary);
        // Every item of the meter is listed, the file's extra ones too.
        QCOMPARE(rows.size(), SimProfile::demo().items.size() + int(file.contains("40.")));
        QCOMPARE(rows.mid(0, first.size()), first);
        QVERIFY(rows.contains(edits.isEmpty() ? "27|恢复出厂设置|||命令项" : "27|恢复出厂设置||1|命令项"));
        QCOMPARE(marked, !edits.isEmpty());
        for (const SimRequest &request : m_meter->receivedRequests())
            QVERIFY(!request.isItemWrite());
    }

    void anotherModelAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void anotherModelAsksFirst()
    {
        QFETCH(bool, answer);
        refresh(*m_window);
        QVERIFY(m_dir->writeFile("other.csv", meterFile({ "1=01. 设备型号, VX-300" })));
        bool shown = false;
        CompareDialog::setNextAnswer([&](CompareDialog &dialog) {
            shown = tableRows(dialog).first() == "01|设备型号|VX-200|VX-300|不同";
            return int(CompareDialog::Closed);
        });
        setNextAnswers({ answer });
        setNextFileNames({ m_dir->filePath("other.csv") });
        m_window->itemPage()->compareWithFile();
        QCOMPARE(askedQuestions().size(), 1);
        QVERIFY2(askedQuestions().first().contains("VX-300") && askedQuestions().first().contains("VX-200"),
            qPrintable(askedQuestions().first()));
        QCOMPARE(shown, answer);
    }

    // The report file, then the differing rows into the write review with
    // the file's values; a backup comes first.
    void reportAndWriteTheDifferingRows()
    {
        refresh(*m_window);
        QVERIFY(m_dir->writeFile("cmp.csv",
            meterFile({ "5=05. 波特率(2400/4800/9600/19200/38400), 38400", "11=11. 网关, =1+1", "+40. 新项, 7" })));
        CompareDialog::setNextAnswer([&](CompareDialog &dialog) {
            setNextFileNames({ m_dir->filePath("report") });
            dialog.findChild<QPushButton *>("exportReport")->click();
            return int(CompareDialog::WriteDiffering);
        });
        QVector<ReviewRow> reviewed;
        WriteReviewDialog::setNextAnswer([&](WriteReviewDialog &dialog) {
            reviewed = dialog.rows();
            return true;
        });
        m_meter->clearReceived();
        ModalBoxCatcher catcher;
        setNextFileNames({ m_dir->filePath("cmp.csv") });
        m_window->itemPage()->compareWithFile();
        QCOMPARE(catcher.texts(), QStringList());

        const QList<QByteArray> report = m_dir->readFile("report.csv").split('\n');
        QVERIFY(report.at(0).startsWith("\xEF\xBB\xBF设备: UDP 127.0.0.1:"));
        QVERIFY(QRegularExpression(",时间: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\r$")
                    .match(QString::fromUtf8(report.at(0)))
                    .hasMatch());
        QCOMPARE(report.at(1), QByteArray("序号,名称,设备值,文件值,结果\r"));
        QCOMPARE(report.at(2), QByteArray("05,波特率(2400/4800/9600/19200/38400),9600,38400,不同\r"));
        QCOMPARE(report.at(3), QByteArray("11,网关,192.168.1.1,'=1+1,不同\r"));
        QCOMPARE(report.at(4), QByteArray("40,新项,,7,仅在文件中\r"));
        QCOMPARE(report.at(5), QByteArray("00,设备名称,VX-200 智能流量积算仪,VX-200 智能流量积算仪,相同\r"));
        QCOMPARE(report.size(), SimProfile::demo().items.size() + 4); // two lines first, nothing after the last

        // Exactly the differing items the meter has, with the file's values.
        QCOMPARE(reviewed.size(), 2);
        QCOMPARE(reviewed.at(0).request.value, QStringLiteral("38400"));
        QCOMPARE(reviewed.at(1).request.value, QStringLiteral("=1+1"));
        QVERIFY(reviewed.at(0).checked && reviewed.at(1).checked);
        QCOMPARE(m_meter->items().at(5).value, QStringLiteral("38400"));
        QCOMPARE(m_meter->items().at(11).value, QStringLiteral("=1+1"));
        const QStringList backups = QDir(m_dir->filePath("backups")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QVERIFY(m_dir->readFile("journal.csv").contains(",backups/" + backups.first().toUtf8() + "\r\n"));
    }

    void aFileThatDoesNotParseShowsNothing()
    {
        refresh(*m_window);
        QVERIFY(m_dir->writeFile("bad.csv", "05. 波特率, 9600\n\n"));
        bool shown = false;
        CompareDialog::setNextAnswer([&](CompareDialog &) {
            shown = true;
            return int(CompareDialog::Closed);
        });
        ModalBoxCatcher catcher;
        setNextFileNames({ m_dir->filePath("bad.csv") });
        m_window->itemPage()->compareWithFile();
        QCOMPARE(catcher.texts(), QStringList { "文件解析错误\n第2行" });
        QVERIFY(!shown);
        QCOMPARE(m_window->configTree()->topLevelItemCount(), SimProfile::demo().items.size());
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<SimRunner> m_meter;
    std::unique_ptr<MainWindow> m_window;
    ItemFilterEdit *m_filter = nullptr;
};

QTEST_MAIN(TstItemCompare)
#include "tst_itemcompare.moc"
