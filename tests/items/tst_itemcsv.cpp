#include "items/itembackup.h"
#include "items/itemcsv.h"
#include "tests/support/tempworkdir.h"

#include <QtTest>

#include <cerrno>
#include <sys/stat.h>

Q_DECLARE_METATYPE(QVector<ItemRowText>)

namespace {

ItemRowText row(int index, const QString &column0, const QString &column1)
{
    return ItemRowText { index, column0, column1 };
}

QByteArray bom()
{
    return QByteArray("\xEF\xBB\xBF");
}

} // namespace

class TstItemCsv : public QObject
{
    Q_OBJECT

private slots:
    void exportBytes_data()
    {
        QTest::addColumn<QVector<ItemRowText>>("rows");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("value keeps the blank after the colon")
            << QVector<ItemRowText> { row(14, "12. 波特率(9600/19200)", ": 9600") }
            << bom() + QByteArray("14. 波特率(9600/19200), 9600\n");
        QTest::newRow("command row ends at the comma")
            << QVector<ItemRowText> { row(27, "26. 恢复出厂设置", QString()) }
            << bom() + QByteArray("27. 恢复出厂设置,\n");
        QTest::newRow("index padded to two digits")
            << QVector<ItemRowText> { row(5, "03. a", ": b") } << bom() + QByteArray("05. a, b\n");
        QTest::newRow("three-digit row number removed whole")
            << QVector<ItemRowText> { row(120, "100. 9号通道", ": x") } << bom() + QByteArray("120. 9号通道, x\n");
        QTest::newRow("empty value keeps its blank")
            << QVector<ItemRowText> { row(7, "07. 名称", ": ") } << bom() + QByteArray("07. 名称, \n");
        QTest::newRow("no rows") << QVector<ItemRowText>() << bom();
        // Control characters from the meter never reach the file; a line
        // break must not start a row of its own.
        QTest::newRow("control characters dropped")
            << QVector<ItemRowText> { row(9, "09. IP\x1b[2J", QString(": 1.2\n3.4\u0000\r")), row(10, "10. b", ": c") }
            << bom() + QByteArray("09. IP[2J, 1.23.4\n10. b, c\n");
    }
    void exportBytes()
    {
        QFETCH(QVector<ItemRowText>, rows);
        QFETCH(QByteArray, content);
        TempWorkDir dir;
        QCOMPARE(exportItems(dir.filePath("items.csv"), rows), QString());
        QCOMPARE(dir.readFile("items.csv"), content);
    }

    void exportToUnwritablePathFails()
    {
        TempWorkDir dir;
        const QString path = dir.filePath("missing/items.csv");
        QCOMPARE(exportItems(path, {}), QStringLiteral("打开文件失败: %1\n").arg(path) + qt_error_string(ENOENT));
    }

    void exportRefusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("name");
        QTest::addColumn<QString>("reason");
        const int replace = int(OutputFile::Mode::Replace);
        const int createNew = int(OutputFile::Mode::CreateNew);
        const int chosen = int(OutputFile::Name::Chosen);
        const int program = int(OutputFile::Name::Program);
        // A FIFO would hold open() until a reader comes.
        QTest::newRow("FIFO") << "fifo" << replace << chosen << "这是一个管道(FIFO),只能写入普通文件";
        QTest::newRow("folder") << "folder" << replace << chosen << "这是一个文件夹,只能写入普通文件";
        QTest::newRow("link chosen by the user is followed") << "link" << replace << chosen << QString();
        QTest::newRow("link at a name of the program")
            << "link" << replace << program << "这是一个符号链接;程序自己命名的文件不经链接写入";
        QTest::newRow("file of before, new one asked")
            << "file" << createNew << program << "文件已存在;不覆盖本次运行之前就有的文件";
        QTest::newRow("file of before, replaced") << "file" << replace << chosen << QString();
    }
    void exportRefusesWhatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(int, mode);
        QFETCH(int, name);
        QFETCH(QString, reason);
        TempWorkDir dir;
        const QString path = dir.filePath("items.csv");
        dir.writeFile("target.csv", "before\n");
        if (kind == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("items.csv"));
        else if (kind == "link")
            QVERIFY(QFile::link(dir.filePath("target.csv"), path));
        else
            dir.writeFile("items.csv", "before\n");
        const QString error
            = exportItems(path, { row(5, "01. a", ": b") }, OutputFile::Mode(mode), OutputFile::Name(name));
        const QByteArray exported = QByteArray("\xEF\xBB\xBF"
                                               "05. a, b\n");
        if (reason.isEmpty()) {
            QCOMPARE(error, QString());
            QCOMPARE(QFileInfo(path).canonicalFilePath() == dir.filePath("target.csv") ? dir.readFile("target.csv")
                                                                                       : dir.readFile("items.csv"),
                exported);
        } else {
            QCOMPARE(error, QStringLiteral("打开文件失败: %1\n").arg(path) + reason);
            QCOMPARE(dir.readFile("target.csv"), QByteArray("before\n"));
        }
    }

    void parseLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("value") << "14. 波特率(9600/19200), 9600" << true << 14
                               << QStringList { "波特率(9600/19200)", "9600" };
        QTest::newRow("last comma splits") << "07. a,b,c" << true << 7 << QStringList { "a,b", "c" };
        QTest::newRow("command stays a command") << "27. 恢复出厂设置," << true << 27 << QStringList { "恢复出厂设置" };
        QTest::newRow("empty value") << "07. 名称, " << true << 7 << QStringList { "名称", "" };
        QTest::newRow("index 00 drops the value") << "00. 设备名称, N1" << true << 0 << QStringList { "设备名称" };
        QTest::newRow("index 01 drops the value") << "01. 设备型号, M1" << true << 1 << QStringList { "设备型号" };
        QTest::newRow("no point after the number") << "14 波特率, 9600" << false << 0 << QStringList();
        QTest::newRow("no comma") << "14. 波特率" << false << 0 << QStringList();
        QTest::newRow("empty line") << "" << false << 0 << QStringList();
        QTest::newRow("leading blank") << " 14. a, b" << false << 0 << QStringList();
        QTest::newRow("index beyond one byte") << "256. a, b" << false << 0 << QStringList();
        QTest::newRow("debug switch") << "255. 调试,1" << false << 0 << QStringList();
        QTest::newRow("last item index") << "254. a, b" << true << 254 << QStringList { "a", "b" };
        QTest::newRow("index overflow") << "99999999999. a, b" << false << 0 << QStringList();
    }
    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(bool, ok);
        QFETCH(int, index);
        QFETCH(QStringList, fields);
        ItemRecord record;
        QCOMPARE(parseItemLine(line, &record), ok);
        if (ok) {
            QCOMPARE(record.index, index);
            QCOMPARE(record.fields, fields);
        }
    }

    void importReadsEveryLine()
    {
        TempWorkDir dir;
        dir.writeFile("in.csv", bom() + "00. 设备名称, N1\r\n05. 波特率(9600/19200), 9600\r\n27. 恢复出厂设置,\r\n");
        const ItemImport import = importItems(dir.filePath("in.csv"));
        QVERIFY(import.opened);
        QCOMPARE(import.error, QString());
        QCOMPARE(import.records.size(), 3);
        QCOMPARE(import.records.at(1).index, 5);
        QCOMPARE(import.records.at(1).fields, (QStringList { "波特率(9600/19200)", "9600" }));
        QCOMPARE(import.records.at(2).fields, QStringList { "恢复出厂设置" });
    }

    void importWithoutByteOrderMarkIsUtf8()
    {
        TempWorkDir dir;
        dir.writeFile("in.csv", "05. 名称, 值");
        const ItemImport import = importItems(dir.filePath("in.csv"));
        QCOMPARE(import.records.size(), 1);
        QCOMPARE(import.records.at(0).fields, (QStringList { "名称", "值" }));
    }

    void importStopsAtABadLine()
    {
        TempWorkDir dir;
        dir.writeFile("in.csv", bom() + "05. a, 1\n\n06. b, 2\n");
        const ItemImport import = importItems(dir.filePath("in.csv"));
        QVERIFY(import.opened);
        QCOMPARE(import.error, QStringLiteral("文件解析错误\n第2行"));
        QVERIFY(import.records.isEmpty());
    }

    void importOfMissingFile()
    {
        TempWorkDir dir;
        const ItemImport import = importItems(dir.filePath("none.csv"));
        QVERIFY(!import.opened);
        QCOMPARE(import.error, QStringLiteral("打开文件失败: %1").arg(dir.filePath("none.csv")));
    }

    void roundTrip()
    {
        TempWorkDir dir;
        const QVector<ItemRowText> rows { row(0, "01. 设备名称", ": N1"), row(2, "02. 软件版本", ": V2.3.1"),
            row(5, "03. 名称,带逗号", ": 9600"), row(6, "04. 地址", ": "), row(27, "05. 恢复出厂设置", QString()) };
        QCOMPARE(exportItems(dir.filePath("rt.csv"), rows), QString());
        QVERIFY(itemsLostOnImport(rows).isEmpty());
        const ItemImport import = importItems(dir.filePath("rt.csv"));
        QCOMPARE(import.error, QString());
        QCOMPARE(import.records.size(), rows.size());
        const QList<QStringList> expected { { "设备名称" }, { "软件版本", "V2.3.1" }, { "名称,带逗号", "9600" },
            { "地址", "" }, { "恢复出厂设置" } };
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(import.records.at(i).index, rows.at(i).index);
            QCOMPARE(import.records.at(i).fields, expected.at(i));
        }
    }

    void rowsThatCannotComeBackAreNamed()
    {
        const QVector<ItemRowText> rows { row(5, "01. 网关", ": 1,2"), row(6, "02. 正常", ": 3"),
            row(7, "03. 多行", ": a\nb") };
        QCOMPARE(itemsLostOnImport(rows), (QStringList { "05. 网关", "07. 多行" }));
    }

    // A backup holds no value it cannot give back: a restore lists such an
    // item unchecked with the reason instead of writing another value.
    void backupAndRestoreRows()
    {
        TempWorkDir dir;
        const QVector<ItemRecord> meter { { 0, { "设备名称", "N1" } }, { 1, { "设备型号", "M/1" } },
            { 5, { "网关", "1,2" } }, { 6, { "正常", "3" } }, { 7, { "多行", "a\nb" } }, { 8, { "未变", "x" } },
            { 27, { "恢复出厂设置" } } };
        KnownMeterValues known;
        for (const ItemRecord &record : meter)
            known.noteRead("udp 127.0.0.1:1 @1", record);
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
        const ItemBackup first = ItemBackup::write(dir.path(), known.model(), when, known.records());
        QCOMPARE(first.errorText(), QString());
        QCOMPARE(first.fileName(), QStringLiteral("backups/M_1_20260102-030405.csv"));
        const QByteArray saved = bom()
            + "00. 设备名称, N1\n01. 设备型号, M/1\n05. 网关,\n06. 正常, 3\n07. 多行,\n08. 未变, x\n27. "
              "恢复出厂设置,\n";
        QCOMPARE(dir.readFile(first.fileName()), saved);
        QCOMPARE(ItemBackup::write(dir.path(), known.model(), when, meter).fileName(),
            QStringLiteral("backups/M_1_20260102-030405-2.csv"));
        QCOMPARE(dir.readFile(first.fileName()), saved);

        // After a bad batch: item 6 holds another value now.
        known.noteWrite("udp 127.0.0.1:1 @1", 6, { "正常", "4" });
        const ItemImport import = importItems(dir.filePath(first.fileName()));
        QCOMPARE(import.error, QString());
        const QVector<ReviewRow> rows = ItemBackup::restoreRows(import.records, known);
        QCOMPARE(rows.size(), 4); // rows 0 and 1 and the command are not written back
        QCOMPARE(rows.at(0).request.index, 5);
        QVERIFY(!rows.at(0).checked);
        QCOMPARE(rows.at(0).meterValue, QStringLiteral("1,2"));
        QVERIFY(rows.at(0).problem.contains("逗号或换行"));
        QCOMPARE(rows.at(1).request.value, QStringLiteral("3"));
        QVERIFY(rows.at(1).checked);
        QCOMPARE(rows.at(2).request.index, 7);
        QVERIFY(!rows.at(2).checked && !rows.at(2).problem.isEmpty() && !rows.at(2).command);
        QCOMPARE(rows.at(3).state, ReviewRow::State::Unchanged);
        QVERIFY(!rows.at(3).checked && rows.at(3).problem.isEmpty());

        // No folder, no backup: the batch must not start.
        TempWorkDir blocked;
        QVERIFY(blocked.writeFile("backups", ""));
        const ItemBackup refused = ItemBackup::write(blocked.path(), "M1", when, meter);
        QVERIFY(!refused.ok());
        QVERIFY2(refused.errorText().startsWith("无法创建备份文件夹"), qPrintable(refused.errorText()));
        QVERIFY(refused.fileName().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstItemCsv)
#include "tst_itemcsv.moc"
