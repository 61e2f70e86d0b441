// Files from outside that try to hurt: huge, corrupt or nonsense. The program
// must answer with its messages, stay usable and keep its memory bounded.
#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "base/settings.h"
#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "makersite/devicetypemgr.h"
#include "firmware/packagewriter.h"
#include "firmware/updatedialog.h"
#include "items/configtree.h"
#include "items/refreshthread.h"
#include "tests/reliability/processprobe.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QtTest>

namespace {

const QString kConnection = QString::fromLatin1(kPackageConnectionName);

// Starts a new peak: Linux resets VmHWM to the current RSS on "5".
void resetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

struct Measure
{
    QElapsedTimer timer;
    qint64 rssBefore = currentRssKb();
    Measure()
    {
        resetPeak();
        rssBefore = currentRssKb();
        timer.start();
    }
    // "1234 ms, peak +56 MiB"
    QString text() const
    {
        return QStringLiteral("%1 ms, peak RSS +%2 MiB (VmHWM %3 MiB)")
            .arg(timer.elapsed())
            .arg((peakRssKb() - rssBefore) / 1024)
            .arg(peakRssKb() / 1024);
    }
    // 0 where RSS says little (see kMemoryBoundsApply).
    qint64 peakGrowthMiB() const { return kMemoryBoundsApply ? (peakRssKb() - rssBefore) / 1024 : 0; }
};

QString parse(const QString &path, DEncryptInfo *out = nullptr)
{
    DEncryptInfo info;
    info.setFilePath(path);
    DDbServer server(kConnection);
    const QString error = server.parseFile(info);
    if (out)
        *out = info;
    return error;
}

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(&file);
    return hash.result();
}

// The content stream of a package whose one entry holds `value` as raw
// QVariant stream bytes (type, null flag, data), wrapped with a valid digest.
QByteArray packageTextWithValue(const QByteArray &value)
{
    QByteArray content;
    {
        QDataStream stream(&content, QIODevice::WriteOnly);
        stream << quint32(1) << QString::fromLatin1(kPackageModelKey);
    }
    content += value;
    return encodePackageText(content, QCryptographicHash::hash(content, QCryptographicHash::Md5));
}

QByteArray be32(quint32 value)
{
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << value;
    return bytes;
}

QString lineEdit(const QWidget &dialog, const char *name)
{
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name));
    return edit ? edit->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

} // namespace

class TstHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void packageWithHugeImage();
    void packageWithCorruptHeader_data();
    void packageWithCorruptHeader();
    void packageWithContainerValues_data();
    void packageWithContainerValues();
    void packageThatExpandsInMemory_data();
    void packageThatExpandsInMemory();
    void pageNestedDeeply_data();
    void pageNestedDeeply();
    void itemCsvWithManyLines();
    void itemCsvWithInvalidUtf8();
    void skipItemsWithBinaryGarbage();
    void configWithNonsense_data();
    void configWithNonsense();

private:
    std::unique_ptr<TempWorkDir> m_dir;
    QStringList m_report;
};

void TstHostileFiles::init()
{
    m_dir.reset(new TempWorkDir);
}

void TstHostileFiles::cleanup()
{
    singleton<Config>::release();
    m_dir.reset();
}

void TstHostileFiles::cleanupTestCase()
{
    for (const QString &line : m_report)
        qInfo("%s", qPrintable(line));
}

void TstHostileFiles::packageWithHugeImage()
{
    const QString path = m_dir->filePath(QStringLiteral("huge.vexabin"));
    QByteArray image(64 * 1024 * 1024, Qt::Uninitialized);
    quint32 *words = reinterpret_cast<quint32 *>(image.data());
    QRandomGenerator random(7);
    random.fillRange(words, image.size() / 4);
    QCOMPARE(
        writePackageFile(path, QStringLiteral("Vexa 流量计"), QStringLiteral("V9.99"), QStringLiteral("VX-200"), image),
        QString());
    image.clear();
    image.squeeze();
    const QByteArray before = digestOf(path);

    // What the dialog does when the file is picked.
    ModalBoxCatcher catcher;
    UpdateDialog dialog;
    Measure measure;
    setNextFileNames({ path });
    dialog.findChild<QPushButton *>(QStringLiteral("bntSelectFile"))->click();
    const QString used = measure.text();
    QCOMPARE(lineEdit(dialog, "edType"), QStringLiteral("VX-200"));
    QCOMPARE(lineEdit(dialog, "edVersion"), QStringLiteral("V9.99"));
    QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("bntUpdate"))->isEnabled());
    QCOMPARE(catcher.texts(), QStringList());
    QCOMPARE(digestOf(path), before);
    // Base64 text, decoded stream and map: a few times the image, never more.
    QVERIFY2(measure.peakGrowthMiB() < 900, qPrintable(used));

    DEncryptInfo info;
    QCOMPARE(parse(path, &info), QString());
    QCOMPARE(info.image().size(), 64 * 1024 * 1024);
    m_report << QStringLiteral("package, 64 MiB image (%1 MiB file): shown; %2")
                    .arg(QFileInfo(path).size() / (1024 * 1024))
                    .arg(used);
}

void TstHostileFiles::packageWithCorruptHeader_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("truncateTo");
    QTest::addColumn<QString>("message");

    const QString notADatabase = QStringLiteral("解析文件失败,文件操作失败!");
    QTest::newRow("magic zeroed") << 0 << QByteArray(16, '\0') << -1 << notADatabase;
    QTest::newRow("page size 1") << 16 << QByteArray("\x00\x01", 2) << -1 << notADatabase;
    QTest::newRow("page count huge") << 28 << QByteArray("\x7f\xff\xff\xff", 4) << -1 << QString();
    // Write-ahead logging: SQLite would create -wal and -shm files beside it.
    QTest::newRow("WAL header") << 18 << QByteArray("\x02\x02", 2) << -1 << QString();
    QTest::newRow("schema page garbage") << 100 << QByteArray(400, '\xA5') << -1 << notADatabase;
    QTest::newRow("cut in half") << 0 << QByteArray() << 4096 << notADatabase;
    QTest::newRow("header only") << 0 << QByteArray() << 100 << notADatabase;
}

void TstHostileFiles::packageWithCorruptHeader()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, truncateTo);
    QFETCH(QString, message);

    const QString path = m_dir->filePath(QStringLiteral("bad.vexabin"));
    QCOMPARE(writePackageFile(
                 path, QStringLiteral("d"), QStringLiteral("v"), QStringLiteral("VX-200"), QByteArray(5000, 'x')),
        QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (truncateTo >= 0)
        QVERIFY(file.resize(truncateTo));
    file.seek(offset);
    file.write(bytes);
    file.close();
    const QByteArray before = digestOf(path);

    Measure measure;
    DEncryptInfo info;
    const QString error = parse(path, &info);
    if (message.isEmpty()) {
        // SQLite reads only the pages it needs: a wrong page count in the
        // header alone does not stop it; what it yields must still check.
        QVERIFY(error.isEmpty() || error.startsWith(QStringLiteral("解析文件失败")));
    } else {
        QCOMPARE(error, message);
        QVERIFY(info.infoMap().isEmpty());
    }
    QCOMPARE(digestOf(path), before);
    QCOMPARE(QDir(m_dir->path()).entryList({ QStringLiteral("bad.vexabin*") }, QDir::Files),
        QStringList { QStringLiteral("bad.vexabin") });

    // The dialog shows nothing from it and keeps the update button off.
    UpdateDialog dialog;
    setNextFileNames({ path });
    dialog.findChild<QPushButton *>(QStringLiteral("bntSelectFile"))->click();
    if (!message.isEmpty()) {
        QCOMPARE(lineEdit(dialog, "edType"), QString());
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("bntUpdate"))->isEnabled());
    }
    m_report << QStringLiteral("package, %1: \"%2\"; %3")
                    .arg(QString::fromLatin1(QTest::currentDataTag()),
                        error.isEmpty() ? QStringLiteral("parsed") : error, measure.text());
}

void TstHostileFiles::packageWithContainerValues_data()
{
    QTest::addColumn<QByteArray>("value");

    // QVariantList (9) claiming 2^31-1 entries: the stream would reserve 16 GiB.
    QTest::newRow("list of 2^31-1") << be32(9) + QByteArray(1, '\0') + be32(0x7FFFFFFF);
    // QStringList (11), the same trick.
    QTest::newRow("string list of 2^31-1") << be32(11) + QByteArray(1, '\0') + be32(0x7FFFFFFF);
    // Lists inside lists, 200,000 deep: unbounded recursion of the reader.
    QByteArray nested;
    const QByteArray level = be32(9) + QByteArray(1, '\0') + be32(1);
    for (int i = 0; i < 200000; ++i)
        nested += level;
    nested += be32(10) + QByteArray(1, '\0') + be32(0xFFFFFFFF);
    QTest::newRow("lists 200000 deep") << nested;
    // A user type by name that is not registered.
    QTest::newRow("unknown user type") << be32(1024) + QByteArray(1, '\0') + be32(4) + QByteArray("Nope");
}

void TstHostileFiles::packageWithContainerValues()
{
    QFETCH(QByteArray, value);
    const QString path = m_dir->filePath(QStringLiteral("container.vexabin"));
    QCOMPARE(writePackageDatabase(path, packageTextWithValue(value)), QString());

    Measure measure;
    DEncryptInfo info;
    // The digest matches, so the map is read: unreadable means empty, not a crash.
    QCOMPARE(parse(path, &info), QString());
    QVERIFY(info.infoMap().isEmpty());
    QVERIFY2(measure.peakGrowthMiB() < 200, qPrintable(measure.text()));
    m_report << QStringLiteral("package value %1: empty map; %2")
                    .arg(QString::fromLatin1(QTest::currentDataTag()), measure.text());
}

void TstHostileFiles::packageThatExpandsInMemory_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // on stdout when it parses, on stderr otherwise
    QTest::addColumn<int>("zeros"); // the generated column's size, in zero bytes

    // Computed on reading: 450 MB of zeros as 900 MB of hex text, from 8 KB.
    const QString bomb = QStringLiteral("text as (hex(zeroblob(1)))");
    QTest::newRow("generated content column") << QStringLiteral("create table INFO (DATA %1, PAD text)").arg(bomb)
                                              << QStringLiteral("insert into INFO (PAD) values ('')") << 2
                                              << QStringLiteral("解析文件失败,无法获取文件内容!") << 450000000;
    // Just under the 128 MiB cap, so no length limit stops it: refused before
    // a byte of it is computed.
    QTest::newRow("generated content column under the cap")
        << QStringLiteral("create table INFO (DATA %1, PAD text)").arg(bomb)
        << QStringLiteral("insert into INFO (PAD) values ('')") << 2 << QStringLiteral("解析文件失败,无法获取文件内容!")
        << (kMaxPackageTextBytes / 2 - 1024);
    QTest::newRow("generated later column")
        << QStringLiteral("create table INFO (DATA text, BAD %1)").arg(bomb)
        << QStringLiteral("insert into INFO (DATA) values (?)") << 0 << QStringLiteral("model:   VX-200") << 450000000;
}

void TstHostileFiles::packageThatExpandsInMemory()
{
    QFETCH(QString, table);
    QFETCH(QString, insert);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(int, zeros);

    const QString path = m_dir->filePath(QStringLiteral("bomb.vexabin"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bomb-maker"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(table));
        QVERIFY(query.prepare(insert));
        const QByteArray content = serializePackageMap(
            packageMap(QStringLiteral("d"), QStringLiteral("v"), QStringLiteral("VX-200"), QByteArray(3000, 'i')));
        if (insert.contains(QLatin1Char('?')))
            query.addBindValue(QString::fromLatin1(
                encodePackageText(content, QCryptographicHash::hash(content, QCryptographicHash::Md5))));
        QVERIFY(query.exec());
        // Grown only now, so that writing the row does not compute it.
        QVERIFY(query.exec(QStringLiteral("pragma writable_schema = on")));
        QVERIFY(query.exec(
            QStringLiteral("update sqlite_master set sql = replace(sql, 'zeroblob(1)', 'zeroblob(%1)')").arg(zeros)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bomb-maker"));
    const QByteArray before = digestOf(path);

    // The same read as the dialog's, in a child whose memory is capped.
    QElapsedTimer timer;
    timer.start();
    const LimitedRun run
        = runWithMemoryLimit(QStringLiteral(VEXA_BIN_DIR "/vexa-pack"), { QStringLiteral("--inspect"), path }, 1024);
    QVERIFY2(run.exitCode == exitCode, qPrintable(QStringLiteral("exit %1: %2").arg(run.exitCode).arg(run.err)));
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(output), qPrintable(run.out + run.err));
    QCOMPARE(digestOf(path), before);
    if (kMemoryBoundsApply)
        QVERIFY2(childrenPeakRssKb() < 300 * 1024, qPrintable(QString::number(childrenPeakRssKb())));
    m_report << QStringLiteral("package, %1 (%2 KiB file): exit %3 in %4 ms")
                    .arg(QString::fromLatin1(QTest::currentDataTag()))
                    .arg(QFileInfo(path).size() / 1024)
                    .arg(run.exitCode)
                    .arg(timer.elapsed());
}

void TstHostileFiles::pageNestedDeeply_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<bool>("listed");

    const QByteArray head = "<html><body><div><div>head</div>";
    const QByteArray tail = "</div></body></html>";
    // 30,000 levels, 210 KB: the tree builder and its destructor recurse per level.
    QTest::newRow("30000 nested elements")
        << head + "<div>" + QByteArray("<div>").repeated(30000) + QByteArray("</div>").repeated(30000) + "</div>" + tail
        << false;
    // Depth out of a few bytes: each entity nests the one before.
    QByteArray entities = "<!DOCTYPE html [<!ENTITY e0 \"x\">";
    for (int i = 1; i < 400; ++i)
        entities += QStringLiteral("<!ENTITY e%1 \"<i>&e%2;</i>\">").arg(i).arg(i - 1).toLatin1();
    QTest::newRow("400 levels through entities") << entities + "]>" + head + "<div>&e399;</div>" + tail << false;
    // A page is a few KB; more than 4 MiB is no page.
    QTest::newRow("just over 4 MiB") << head + "<div><div>VX-1</div><div><a href=\"l\">x</a></div></div>"
            + QByteArray(4 * 1024 * 1024, ' ')
            + tail << false;
    // 256 levels are still read: html, body, list, row, name div and 251 more.
    QTest::newRow("256 levels") << head + "<div><div>" + QByteArray("<b>").repeated(251) + "VX-1"
            + QByteArray("</b>").repeated(251) + "</div></div>"
            + tail << true;
}

void TstHostileFiles::pageNestedDeeply()
{
    QFETCH(QByteArray, page);
    QFETCH(bool, listed);

    Measure measure;
    DeviceTypeMgr manager;
    QCOMPARE(manager.parsePage(page), listed);
    QCOMPARE(manager.packageList().keys(), listed ? QStringList { QStringLiteral("VX-1") } : QStringList());
    m_report << QStringLiteral("page, %1 (%2 KiB): %3; %4")
                    .arg(QString::fromLatin1(QTest::currentDataTag()))
                    .arg(page.size() / 1024)
                    .arg(listed ? QStringLiteral("listed") : QStringLiteral("\"获取设备列表失败,请重试!\""))
                    .arg(measure.text());
}

void TstHostileFiles::itemCsvWithManyLines()
{
    QByteArray csv("\xEF\xBB\xBF");
    csv.reserve(4 * 1024 * 1024);
    for (int i = 0; i < 100000; ++i)
        csv += QStringLiteral("%1. 配置项%2, 值%3\n").arg(i % 255, 2, 10, QLatin1Char('0')).arg(i).arg(i * 7).toUtf8();
    QVERIFY(m_dir->writeFile(QStringLiteral("many.csv"), csv));

    ModalBoxCatcher catcher;
    MainWindow window;
    Measure measure;
    setNextFileNames({ m_dir->filePath(QStringLiteral("many.csv")) });
    window.slotImportItems();
    const QString used = measure.text();
    // A meter has at most 255 items: the first repeated index ends the import.
    QCOMPARE(catcher.texts(), QStringList { QStringLiteral("文件解析错误\n第256行: 配置项0重复出现") });
    QCOMPARE(window.configTree()->topLevelItemCount(), 0);
    QVERIFY2(measure.peakGrowthMiB() < 600, qPrintable(used));
    // Still usable: a second import replaces the rows.
    QVERIFY(m_dir->writeFile(QStringLiteral("one.csv"), QByteArray("02. 名称, 值\n")));
    setNextFileNames({ m_dir->filePath(QStringLiteral("one.csv")) });
    window.slotImportItems();
    QCOMPARE(window.configTree()->topLevelItemCount(), 1);
    m_report
        << QStringLiteral("item CSV, 100,000 lines (%1 KiB): refused at line 256; %2").arg(csv.size() / 1024).arg(used);
}

void TstHostileFiles::itemCsvWithInvalidUtf8()
{
    // Bytes that are no UTF-8 at all, an overlong form, a lone continuation
    // byte and a cut-off sequence, in names and values.
    const QByteArray csv = QByteArray("02. \xFF\xFE\xFD, \xC0\xAF\n") + QByteArray("03. name\x80, value\xE4\xBD\n")
        + QByteArray("04. \xED\xA0\x80, ok\n");
    QVERIFY(m_dir->writeFile(QStringLiteral("bad.csv"), csv));

    ModalBoxCatcher catcher;
    MainWindow window;
    Measure measure;
    setNextFileNames({ m_dir->filePath(QStringLiteral("bad.csv")) });
    window.slotImportItems();
    // Undecodable bytes become U+FFFD; the lines keep their shape and load.
    QCOMPARE(catcher.texts(), QStringList());
    QCOMPARE(window.configTree()->topLevelItemCount(), 3);
    QVERIFY(window.configTree()->topLevelItem(0)->text(0).contains(QChar::ReplacementCharacter));
    m_report << QStringLiteral("item CSV, invalid UTF-8: 3 rows with U+FFFD; %1").arg(measure.text());
}

void TstHostileFiles::skipItemsWithBinaryGarbage()
{
    QByteArray garbage(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(11);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    QVERIFY(m_dir->writeFile(QStringLiteral("SkipItems"), garbage));

    ModalBoxCatcher catcher;
    Measure measure;
    MainWindow window; // reads the skip file
    const QString used = measure.text();
    window.slotAddItems(0, { QStringLiteral("设备名称"), QStringLiteral("VX-200 智能流量积算仪") });
    window.slotAddItems(1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") });
    window.slotAddItems(5, { QStringLiteral("波特率(9600/19200)"), QStringLiteral("9600") });
    QCOMPARE(window.configTree()->topLevelItemCount(), 3);
    QCOMPARE(catcher.texts(), QStringList());
    m_report << QStringLiteral("SkipItems, 1 MiB of random bytes: rows shown as usual; %1").arg(used);
}

void TstHostileFiles::configWithNonsense_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("refreshError");

    const QByteArray words
        = "[appname]\nch=\xFF\xFE\nus=%00%01\ntw=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18QVariantList)\n"
          "ver=maybe\n"
          "[communicate]\nudp=yes please\n"
          "[device]\naddress=seventeen\n"
          "[language]\nlanguage=../../../../etc/passwd\n"
          "[serial]\nport=/dev/null/../zero\nbaudrate=fast\ndatabits=many\nparity=odd-ish\n"
          "stopbits=-\nsend_rts=@Variant(garbage)\nsend_dtr=\xC0\xAF\n"
          "[udp]\naddress=999.1.1.1\nport=http\n"
          "[update]\npage_url=javascript:alert(1)\nverify_peer=sometimes\n"
          "[window]\nwidth=wide\nheight=-\n";
    // communicate/udp is no number: serial, and the port does not open.
    QTest::newRow("words") << words << QStringLiteral("打开串口失败: /dev/null/../zero");

    const QByteArray numbers = "[appname]\nver=99999999999999999999\n"
                               "[communicate]\nudp=-2147483649\n"
                               "[device]\naddress=-99999999999\n"
                               "[language]\nlanguage=\n"
                               "[serial]\nbaudrate=-5\ndatabits=2147483647\nparity=-1\nstopbits=99\n"
                               "[udp]\naddress=::ffff:999.0.0.1\nport=-1\n"
                               "[update]\npage_url=http://[::1\n"
                               "[window]\nwidth=2147483647\nheight=2147483647\n";
    // The variant keeps the low bits of a number too large for an int
    // (-2147483649 reads as 2147483647): UDP, to an address that does not parse.
    QTest::newRow("numbers") << numbers << QStringLiteral("发送命令超时");

    const QByteArray udp = "[communicate]\nudp=1\n[device]\naddress=256\n[udp]\naddress=not an address\nport=99999999\n"
                           "[window]\nwidth=-100\nheight=-100\n";
    // UDP opens without looking at the address; the send then fails at once.
    QTest::newRow("udp nonsense") << udp << QStringLiteral("发送命令超时");
}

void TstHostileFiles::configWithNonsense()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, refreshError);
    QVERIFY(m_dir->writeFile(QStringLiteral("config.ini"), ini));

    ModalBoxCatcher catcher;
    Measure measure;
    MainWindow window;
    const QSize shown = window.size();
    // A window taller than the screen many times over cannot be painted: its
    // backing store alone would need gigabytes.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const bool fits
        = shown.width() <= qMax(screen.width(), 1000) * 2 && shown.height() <= qMax(screen.height(), 600) * 2;
    QVERIFY2(fits, qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A refresh answers with its message within its time-outs and the window
    // stays usable for the next one.
    QElapsedTimer timer;
    timer.start();
    window.slotRefresh();
    QVERIFY(window.refreshThread()->wait(20000));
    QTRY_COMPARE_WITH_TIMEOUT(catcher.texts().size(), 1, 5000);
    // The first line is the link's own text; the target follows it.
    QCOMPARE(catcher.texts().value(0).section(QLatin1Char('\n'), 0, 0), refreshError);
    QVERIFY(timer.elapsed() < 15000);
    window.slotAddItems(4, { QStringLiteral("设备地址"), QStringLiteral("1") });
    QCOMPARE(window.configTree()->topLevelItemCount(), 1);
    QVERIFY2(measure.peakGrowthMiB() < 300, qPrintable(measure.text()));
    window.close();
    m_report << QStringLiteral("config.ini, %1: window %2x%3, refresh \"%4\"; %5")
                    .arg(QString::fromLatin1(QTest::currentDataTag()))
                    .arg(shown.width())
                    .arg(shown.height())
                    .arg(refreshError, measure.text());
}

QTEST_MAIN(TstHostileFiles)
#include "tst_hostilefiles.moc"
