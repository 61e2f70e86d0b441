#include "app/mainwindow.h"
#include "base/settings.h"
#include "items/configtree.h"
#include "items/configtreedelegate.h"
#include "items/itemrowfilter.h"
#include "items/skipitems.h"
#include "tests/support/tempworkdir.h"

#include <QHeaderView>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

// The tree as it was built before it measured its rows once each: every
// row's width taken again at each layout, rows of any height.
class PlainTree : public QTreeWidget
{
public:
    PlainTree()
    {
        setRootIsDecorated(false);
        setItemDelegate(new ConfigTreeDelegate(this));
        setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setColumnCount(2);
        setHeaderHidden(true);
        header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        header()->setStretchLastSection(true);
        // All rows, however many.
        header()->setResizeContentsPrecision(-1);
        QFont treeFont = font();
        treeFont.setPointSize(12);
        setFont(treeFont);
    }
};

QString rowName(int row, int longRow)
{
    return row == longRow ? QStringLiteral("一个非常非常长的配置项名称，用来检查名称列的宽度 %1").arg(row)
                          : QStringLiteral("参数%1").arg(row, 3, 10, QLatin1Char('0'));
}

using Record = QPair<int, QStringList>;

// "column 0 | column 1 | index" per row.
QStringList rowsOf(const MainWindow &window)
{
    QStringList rows;
    const ConfigTree *tree = window.configTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = tree->topLevelItem(i);
        rows << QStringLiteral("%1|%2|%3").arg(row->text(0), row->text(1)).arg(row->data(0, Qt::UserRole).toInt());
    }
    return rows;
}

} // namespace

class TstItemTree : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void treeIsConfigured()
    {
        ConfigTree tree;
        QCOMPARE(tree.columnCount(), 2);
        QVERIFY(tree.isHeaderHidden());
        QVERIFY(!tree.rootIsDecorated());
        QVERIFY(tree.alternatingRowColors());
        QCOMPARE(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(tree.selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(tree.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(tree.verticalScrollMode(), QAbstractItemView::ScrollPerPixel);
        QCOMPARE(tree.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(tree.uniformRowHeights());
        QCOMPARE(tree.header()->sectionResizeMode(0), QHeaderView::ResizeToContents);
        QCOMPARE(tree.header()->sectionResizeMode(1), QHeaderView::ResizeToContents);
        QVERIFY(tree.header()->stretchLastSection());
        QCOMPARE(tree.font().pointSize(), 12);
        QVERIFY(qobject_cast<ConfigTreeDelegate *>(tree.itemDelegate()));
        tree.addTopLevelItem(new QTreeWidgetItem(QStringList { "01. a", ": b" }));
        QCOMPARE(tree.itemDelegate()->sizeHint(QStyleOptionViewItem(), tree.model()->index(0, 0)).height(), 30);
    }

    void rowsAreNumberedByShownRows()
    {
        TempWorkDir dir;
        MainWindow window;
        for (int i = 0; i < 100; ++i)
            window.slotAddItems(i + 3, { QStringLiteral("项%1").arg(i), QStringLiteral(" v%1 ").arg(i) });
        window.slotAddItems(200, { QStringLiteral("恢复出厂") });
        const QStringList rows = rowsOf(window);
        QCOMPARE(rows.at(0), QStringLiteral("01. 项0|: v0|3"));
        QCOMPARE(rows.at(8), QStringLiteral("09. 项8|: v8|11"));
        QCOMPARE(rows.at(99), QStringLiteral("100. 项99|: v99|102"));
        QCOMPARE(rows.at(100), QStringLiteral("101. 恢复出厂||200"));
        window.slotClearItems();
        QCOMPARE(window.configTree()->topLevelItemCount(), 0);
    }

    void skipFileIsRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("firstSet");
        QTest::newRow("single text is its own key")
            << QByteArray("A B C\n") << QStringList { "ABC" } << QStringList { "ABC" };
        QTest::newRow("name and model") << QByteArray(" N 1 , M 1\r\n") << QStringList { "N1" } << QStringList { "M1" };
        QTest::newRow("three parts ignored") << QByteArray("a,b,c\nX") << QStringList { "X" } << QStringList { "X" };
        QTest::newRow("text ends at a zero byte")
            << QByteArray("AB\0,C\n", 6) << QStringList { "AB" } << QStringList { "AB" };
        QTest::newRow("same key collects models")
            << QByteArray("N1,M1\nN1,M2\n") << QStringList { "N1" } << QStringList { "M1", "M2" };
    }
    void skipFileIsRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, firstSet);
        TempWorkDir dir;
        dir.writeFile("SkipItems", content);
        const SkipMap map = loadSkipFile(dir.filePath("SkipItems"));
        QCOMPARE(map.keys(), keys);
        QStringList set = map.first().values();
        set.sort();
        QCOMPARE(set, firstSet);
    }

    void hidingRules_data()
    {
        QTest::addColumn<QByteArray>("skipFile");
        QTest::addColumn<QList<Record>>("records");
        QTest::addColumn<QStringList>("rows");
        const QList<Record> nameThenM1 { { 0, { "设备名称", "N1" } }, { 1, { "设备型号", "M1" } },
            { 2, { "x", "1" } } };
        const QList<Record> nameThenM2 { { 0, { "设备名称", "N1" } }, { 4, { "设备型号", "M2" } } };

        QTest::newRow("model with blanks hidden")
            << QByteArray("ABC\n") << QList<Record> { { 1, { "设备型号", "A B C" } }, { 2, { "x", "1" } } }
            << QStringList { "01. x|: 1|2" };
        QTest::newRow("model in any case hidden")
            << QByteArray("ABC\n") << QList<Record> { { 1, { "MODEL", "ABC" } }, { 2, { "Model", "ABD" } } }
            << QStringList { "01. Model|: ABD|2" };
        QTest::newRow("name and matching model both hidden")
            << QByteArray("N1,M1\n") << nameThenM1 << QStringList { "01. x|: 1|2" };
        QTest::newRow("name shown before another model")
            << QByteArray("N1,M1\n") << nameThenM2 << QStringList { "01. 设备名称|: N1|0", "02. 设备型号|: M2|4" };
        QTest::newRow("unlisted name shown at once")
            << QByteArray("N1,M1\n") << QList<Record> { { 0, { "设备名称", "N2" } } }
            << QStringList { "01. 设备名称|: N2|0" };
        QTest::newRow("held name never shown without model")
            << QByteArray("N1,M1\n") << QList<Record> { { 0, { "设备名称", "N1" } }, { 2, { "x", "1" } } }
            << QStringList { "01. x|: 1|2" };
        QTest::newRow("three parts have no effect") << QByteArray(
            "N1,M1,X\n") << nameThenM1 << QStringList { "01. 设备名称|: N1|0", "02. 设备型号|: M1|1", "03. x|: 1|2" };
        QTest::newRow("no skip file") << QByteArray() << nameThenM1
                                      << QStringList { "01. 设备名称|: N1|0", "02. 设备型号|: M1|1", "03. x|: 1|2" };
        QTest::newRow("name alone is not a device name row")
            << QByteArray("N1\n") << QList<Record> { { 0, { "设备名称" } } } << QStringList { "01. 设备名称||0" };
    }
    void hidingRules()
    {
        QFETCH(QByteArray, skipFile);
        QFETCH(QList<Record>, records);
        QFETCH(QStringList, rows);
        TempWorkDir dir;
        if (!skipFile.isEmpty())
            dir.writeFile("SkipItems", skipFile);
        MainWindow window;
        for (const Record &record : records)
            window.slotAddItems(record.first, record.second);
        QCOMPARE(rowsOf(window), rows);

        // vexa-cli numbers the same rows the same way (0: hidden).
        QVector<ItemRecord> received;
        for (const Record &record : records)
            received << ItemRecord { record.first, record.second };
        QMap<int, int> shown; // item index -> row number
        for (const QString &row : rows)
            shown.insert(row.section('|', 2).toInt(), row.section('.', 0, 0).toInt());
        const QVector<int> numbers = ItemRowFilter::rowNumbers(received, loadSkipFile(dir.filePath("SkipItems")));
        for (int i = 0; i < received.size(); ++i)
            QCOMPARE(numbers.at(i), shown.value(received.at(i).index));
    }

    void nameColumnFitsTheWidestName_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("longRow");
        QTest::addColumn<QString>("change"); // what happens to the list afterwards
        QTest::newRow("long name at row 200") << 255 << 200 << "";
        QTest::newRow("long name beyond 1000 rows") << 1100 << 1050 << "";
        QTest::newRow("long name removed") << 255 << 200 << "remove";
        QTest::newRow("short name made long") << 255 << -1 << "rename";
        QTest::newRow("cleared and refilled") << 255 << 200 << "clear";
        QTest::newRow("row put in the middle") << 255 << -1 << "insert";
        QTest::newRow("bigger font") << 255 << 200 << "font";
    }
    void nameColumnFitsTheWidestName()
    {
        QFETCH(int, rows);
        QFETCH(int, longRow);
        QFETCH(QString, change);
        const QString longName = rowName(longRow, longRow);
        ConfigTree tree;
        PlainTree plain;
        for (QTreeWidget *view : { static_cast<QTreeWidget *>(&tree), static_cast<QTreeWidget *>(&plain) }) {
            view->resize(900, 400);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            // One row per event-loop turn, as over a slow line.
            for (int i = 0; i < rows; ++i) {
                view->addTopLevelItem(new QTreeWidgetItem(QStringList { rowName(i, longRow), QStringLiteral(": 1") }));
                if (i < 40 || i % 50 == 0)
                    QCoreApplication::processEvents();
            }
            QCoreApplication::processEvents();
            if (change == QLatin1String("remove")) {
                delete view->takeTopLevelItem(longRow);
            } else if (change == QLatin1String("rename")) {
                view->topLevelItem(180)->setText(0, longName + QStringLiteral(" 再长一点"));
            } else if (change == QLatin1String("clear")) {
                view->clear();
                for (int i = 0; i < 40; ++i)
                    view->addTopLevelItem(new QTreeWidgetItem(QStringList { rowName(i, -1), QString() }));
            } else if (change == QLatin1String("insert")) {
                view->insertTopLevelItem(120, new QTreeWidgetItem(QStringList { longName, QString() }));
            } else if (change == QLatin1String("font")) {
                QFont bigger = view->font();
                bigger.setPointSize(16);
                view->setFont(bigger);
            }
            QCoreApplication::processEvents();
        }
        // The tree resizes its column at most every 100 ms: wait for that turn.
        QTRY_COMPARE(tree.columnWidth(0), plain.columnWidth(0));
        QVERIFY(tree.columnWidth(0) > 0);
        // Rows laid out only once the hold is over; a fast build gets here before.
        QTRY_VERIFY(!tree.isRowPaintHeld());

        // Whichever row is widest, its name shows whole once scrolled to.
        int widest = 0;
        for (int i = 1; i < tree.topLevelItemCount(); ++i) {
            if (tree.topLevelItem(i)->text(0).size() > tree.topLevelItem(widest)->text(0).size())
                widest = i;
        }
        QTreeWidgetItem *item = tree.topLevelItem(widest);
        tree.scrollToItem(item);
        QTRY_VERIFY(tree.viewport()->rect().intersects(tree.visualItemRect(item)));
        const QRect cell = tree.visualItemRect(item);
        const int textWidth = QFontMetrics(tree.font()).horizontalAdvance(item->text(0));
        QVERIFY2(tree.columnWidth(0) > textWidth,
            qPrintable(QStringLiteral("%1 <= %2").arg(tree.columnWidth(0)).arg(textWidth)));
        QCOMPARE(tree.visualRect(tree.model()->index(widest, 0)).width(), tree.columnWidth(0));
        // Every row is the delegate's height.
        QCOMPARE(cell.height(), 30);
    }

    void rowsFromASlowLineKeepOrderAndNumbers()
    {
        // Rows queued from another thread as the refresh worker sends them:
        // some in bursts, some one per event-loop turn, while the list only
        // paints every so often.
        TempWorkDir dir;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ConfigTree *tree = window.configTree();
        constexpr int kRows = 300;
        bool held = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] { held = held || tree->isRowPaintHeld(); });
        watch.start(5);
        std::unique_ptr<QThread> feeder(QThread::create([&window] {
            for (int i = 0; i < kRows; ++i) {
                QMetaObject::invokeMethod(
                    &window,
                    [&window, i] {
                        window.slotAddItems(i, { QStringLiteral("参数%1").arg(i), QString::number(i * 7) });
                    },
                    Qt::QueuedConnection);
                if (i % 60 < 20)
                    QThread::msleep(3);
            }
        }));
        feeder->start();
        QTRY_COMPARE_WITH_TIMEOUT(tree->topLevelItemCount(), kRows, 20000);
        feeder->wait();
        QTRY_VERIFY(!tree->isRowPaintHeld());
        QVERIFY(held);
        QVERIFY(tree->updatesEnabled());
        QStringList expected;
        for (int i = 0; i < kRows; ++i)
            expected << QStringLiteral("%1. 参数%2|: %3|%2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(i).arg(i * 7);
        QCOMPARE(rowsOf(window), expected);
        // The last rows are painted once the interval is over.
        tree->scrollToBottom();
        QTRY_VERIFY(tree->viewport()->rect().intersects(tree->visualItemRect(tree->topLevelItem(kRows - 1))));
    }

    void heldRowSurvivesClearing()
    {
        TempWorkDir dir;
        dir.writeFile("SkipItems", "N1,M1\n");
        MainWindow window;
        window.slotAddItems(0, { "设备名称", "N1" });
        window.slotClearItems();
        window.slotAddItems(7, { "设备型号", "M9" });
        QCOMPARE(rowsOf(window), (QStringList { "01. 设备名称|: N1|0", "02. 设备型号|: M9|7" }));
    }
};

QTEST_MAIN(TstItemTree)
#include "tst_itemtree.moc"
