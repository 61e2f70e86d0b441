#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "base/settings.h"
#include "items/configtree.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QRegularExpression>
#include <QStatusBar>
#include <QtTest>

#include <cerrno>

namespace {

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

void fill(MainWindow &window)
{
    window.slotAddItems(0, { "设备名称", "N1" });
    window.slotAddItems(1, { "设备型号", "M1" });
    window.slotAddItems(5, { "波特率(9600/19200)", "9600" });
    window.slotAddItems(6, { "地址", "" });
    window.slotAddItems(27, { "恢复出厂设置" });
}

} // namespace

class TstItemFiles : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void fileChoiceSuggestsAndRemembers()
    {
        TempWorkDir dir;
        MainWindow window;
        fill(window);
        window.slotAddItems(2, { "model", "VX 200/b" });
        ModalBoxCatcher catcher;
        // Typed without suffix: the file gets it.
        setNextFileNames({ dir.filePath("out") });
        window.slotExportItems();
        QCOMPARE(askedFiles().size(), 1);
        QCOMPARE(askedFiles().at(0).caption, QStringLiteral("导出配置"));
        // Named after the model row of the list and the time.
        QVERIFY2(QRegularExpression(QStringLiteral("^M1_\\d{8}-\\d{6}\\.csv$"))
                     .match(askedFiles().at(0).proposed)
                     .hasMatch(),
            qPrintable(askedFiles().at(0).proposed));
        QVERIFY(dir.readFile("out.csv").startsWith("\xEF\xBB\xBF"
                                                   "00. "));
        // The next choice of an item file starts in that folder.
        setNextFileNames({ dir.filePath("out.csv") });
        window.slotImportItems();
        QCOMPARE(askedFiles().at(0).proposed, dir.path());
        QCOMPARE(window.configTree()->topLevelItemCount(), 6);
        setNextFileNames({ QString() });
        window.slotExportItems();
        // The import dropped the value of row 01; the "model" row names it now.
        QVERIFY2(askedFiles().at(0).proposed.startsWith(dir.path() + QStringLiteral("/VX_200_b_")),
            qPrintable(askedFiles().at(0).proposed));
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(appSettings()->value("folders/items").toString(), dir.path());
    }

    void exportThenImport()
    {
        TempWorkDir dir;
        MainWindow window;
        fill(window);
        ModalBoxCatcher catcher;
        setNextFileNames({ dir.filePath("items.csv") });
        window.slotExportItems();
        QCOMPARE(window.statusBar()->currentMessage(),
            QStringLiteral("导出配置成功,已保存到 ") + QDir::toNativeSeparators(dir.filePath("items.csv")));
        QCOMPARE(dir.readFile("items.csv"),
            QByteArray("\xEF\xBB\xBF"
                       "00. 设备名称, N1\n01. 设备型号, M1\n"
                       "05. 波特率(9600/19200), 9600\n06. 地址, \n27. 恢复出厂设置,\n"));
        window.slotClearItems();
        setNextFileNames({ dir.filePath("items.csv") });
        window.slotImportItems();
        QCOMPARE(catcher.texts(), QStringList());
        QCOMPARE(rowsOf(window),
            (QStringList { "01. 设备名称||0", "02. 设备型号||1", "03. 波特率(9600/19200)|: 9600|5", "04. 地址|: |6",
                "05. 恢复出厂设置||27" }));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("导入配置成功"));
        // Shown numbers run on; the tooltip names the index that writes use.
        QCOMPARE(window.configTree()->topLevelItem(4)->toolTip(0), QStringLiteral("写入和导出使用配置项序号27"));
        QCOMPARE(window.configTree()->topLevelItem(4)->toolTip(1), QStringLiteral("写入和导出使用配置项序号27"));
    }

    void exportNamesRowsThatWillNotComeBack()
    {
        TempWorkDir dir;
        MainWindow window;
        window.slotAddItems(9, { "网关", "1,2" });
        window.slotAddItems(10, { "端口", "8234" });
        ModalBoxCatcher catcher;
        setNextFileNames({ dir.filePath("items.csv") });
        window.slotExportItems();
        QCOMPARE(dir.readFile("items.csv"),
            QByteArray("\xEF\xBB\xBF"
                       "09. 网关, 1,2\n10. 端口, 8234\n"));
        QCOMPARE(catcher.boxes().size(), 1);
        QCOMPARE(catcher.boxes().at(0).icon, QMessageBox::Warning);
        QVERIFY(catcher.texts().at(0).endsWith("\n09. 网关"));
    }

    void exportFailure()
    {
        TempWorkDir dir;
        MainWindow window;
        ModalBoxCatcher catcher;
        const QString path = dir.filePath("no/dir.csv");
        setNextFileNames({ path });
        window.slotExportItems();
        // The system's reason on a second line.
        QCOMPARE(catcher.texts(), QStringList { "打开文件失败: " + path + "\n" + qt_error_string(ENOENT) });
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("导出配置"));
    }

    void importFailures_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::newRow("missing file") << QByteArray() << "打开文件失败: %1" << 5;
        QTest::newRow("empty line in the middle") << QByteArray("05. a, 1\n\n06. b, 2\n") << "文件解析错误\n第2行" << 0;
        QTest::newRow("bad last line") << QByteArray("05. a, 1\nx\n") << "文件解析错误\n第2行" << 0;
        // 255 is the debug switch; a row for it would switch the meter's debug output on.
        QTest::newRow("debug switch index")
            << QByteArray("05. a, 1\n06. b, 2\n255. 调试,1\n") << "文件解析错误\n第3行" << 0;
        QTest::newRow("index twice") << QByteArray("05. a, 1\n99. 波特率, 2\n99. 波特率, 3\n")
                                     << "文件解析错误\n第3行: 配置项99重复出现" << 0;
        QTest::newRow("one index repeated")
            << QByteArray("07. a, 1\n").repeated(200000) << "文件解析错误\n第2行: 配置项7重复出现" << 0;
    }
    void importFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(int, rows);
        TempWorkDir dir;
        if (!content.isEmpty())
            dir.writeFile("in.csv", content);
        MainWindow window;
        fill(window);
        ModalBoxCatcher catcher;
        setNextFileNames({ dir.filePath("in.csv") });
        window.slotImportItems();
        QCOMPARE(catcher.texts(), QStringList { text.arg(dir.filePath("in.csv")) });
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral("导入配置"));
        QCOMPARE(window.configTree()->topLevelItemCount(), rows);
    }

    void importAppliesTheHidingRules()
    {
        TempWorkDir dir;
        dir.writeFile("SkipItems", "N1,M1\n");
        dir.writeFile("in.csv", "02. 设备名称, N1\n03. 设备型号, M1\n04. x, 1\n");
        MainWindow window;
        setNextFileNames({ dir.filePath("in.csv") });
        window.slotImportItems();
        QCOMPARE(rowsOf(window), QStringList { "01. x|: 1|4" });
    }
};

QTEST_MAIN(TstItemFiles)
#include "tst_itemfiles.moc"
