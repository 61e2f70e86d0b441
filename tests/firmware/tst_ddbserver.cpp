#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "tests/support/tempworkdir.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QString kDevice = QStringLiteral("VX-200 智能流量积算仪");
const QString kVersion = QStringLiteral("V2.3.1");
const QString kModel = QStringLiteral("VX-200");

QByteArray md5(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

QByteArray sampleImage(int size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 7 + i / 251) & 0xFF);
    return image;
}

// Runs SQL statements against a fresh database file.
bool makeDatabase(const QString &path, const QStringList &statements, const QVariantList &binds = {})
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tst-maker"));
        db.setDatabaseName(path);
        ok = db.open();
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            ok = ok && query.prepare(sql);
            for (const QVariant &value : binds)
                if (sql.count(QLatin1Char('?')) > 0)
                    query.addBindValue(value);
            ok = ok && query.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tst-maker"));
    return ok;
}

QString parse(const QString &path, DEncryptInfo *result = nullptr)
{
    DEncryptInfo info;
    info.setFilePath(path);
    DDbServer server { QLatin1String(kPackageConnectionName) };
    const QString error = server.parseFile(info);
    if (result)
        *result = info;
    return error;
}

QByteArray goodText()
{
    const QByteArray content = serializePackageMap(packageMap(kDevice, kVersion, kModel, sampleImage(3000)));
    return encodePackageText(content, md5(content));
}

} // namespace

class TstDDbServer : public QObject
{
    Q_OBJECT

private slots:
    void parsesWrittenPackage()
    {
        TempWorkDir dir;
        const QByteArray image = sampleImage(300 * 1024 + 17);
        QCOMPARE(writePackageFile(QStringLiteral("a.vexabin"), kDevice, kVersion, kModel, image), QString());
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("a.vexabin"), &info), QString());
        QCOMPARE(info.filePath(), QStringLiteral("a.vexabin"));
        QCOMPARE(info.device(), kDevice);
        QCOMPARE(info.version(), kVersion);
        QCOMPARE(info.model(), kModel);
        QCOMPARE(info.image(), image);
        QCOMPARE(info.infoMap().size(), 4);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString missing = QStringLiteral("解析文件失败,文件不存在或拒绝访问!");
        const QString operation = QStringLiteral("解析文件失败,文件操作失败!");
        const QString check = QStringLiteral("解析文件失败,文件校验失败!");
        QTest::newRow("missing file") << "missing" << missing;
        QTest::newRow("empty path") << "empty" << missing;
        QTest::newRow("directory") << "directory" << missing;
        QTest::newRow("text file") << "text" << operation;
        QTest::newRow("table info in lower case") << "lowercase" << operation;
        QTest::newRow("two rows") << "tworows" << operation;
        QTest::newRow("no row") << "norow" << operation;
        QTest::newRow("row cannot be fetched") << "unfetchable" << QStringLiteral("解析文件失败,无法获取文件内容!");
        QTest::newRow("changed content byte") << "changed" << check;
        QTest::newRow("empty digest") << "nodigest" << check;
        QTest::newRow("not base64 at all") << "garbage" << check;
    }

    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        TempWorkDir dir;
        QString path = QStringLiteral("p.vexabin");
        const QString text = QString::fromLatin1(goodText());
        if (kind == QLatin1String("missing")) {
        } else if (kind == QLatin1String("empty")) {
            path.clear();
        } else if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == QLatin1String("text")) {
            QVERIFY(dir.writeFile(path, "This is not a firmware package.\n"));
        } else if (kind == QLatin1String("lowercase")) {
            QVERIFY(makeDatabase(path, { "create table info (DATA text)", "insert into info values (?)" }, { text }));
        } else if (kind == QLatin1String("tworows")) {
            QVERIFY(makeDatabase(path,
                { "create table INFO (DATA text)", "insert into INFO values (?)", "insert into INFO values (?)" },
                { text }));
        } else if (kind == QLatin1String("norow")) {
            QVERIFY(makeDatabase(path, { "create table INFO (DATA text)" }));
        } else if (kind == QLatin1String("unfetchable")) {
            // Counting does not evaluate the generated column; reading it fails.
            QVERIFY(makeDatabase(path,
                { "create table INFO (BAD as (abs(-1)), DATA text)", "insert into INFO (DATA) values (?)",
                    "pragma writable_schema = on",
                    "update sqlite_master set sql = replace(sql, 'abs(-1)', 'abs(-9223372036854775807 - 1)')" },
                { text }));
        } else if (kind == QLatin1String("changed")) {
            QByteArray content = serializePackageMap(packageMap(kDevice, kVersion, kModel, sampleImage(100)));
            const QByteArray digest = md5(content);
            content[content.size() - 5] = char(content.at(content.size() - 5) ^ 0x01);
            QCOMPARE(writePackageDatabase(path, encodePackageText(content, digest)), QString());
        } else if (kind == QLatin1String("nodigest")) {
            const QByteArray content = serializePackageMap(packageMap(kDevice, kVersion, kModel, sampleImage(100)));
            QCOMPARE(writePackageDatabase(path, encodePackageText(content, QByteArray())), QString());
        } else if (kind == QLatin1String("garbage")) {
            QCOMPARE(writePackageDatabase(path, "@@@ not a package @@@"), QString());
        }
        DEncryptInfo info;
        QCOMPARE(parse(path, &info), message);
        QVERIFY(info.infoMap().isEmpty());
    }

    // Both the shortest map and the stream around it, byte for byte.
    void mapExampleBytes()
    {
        QMap<QString, QVariant> map;
        map.insert(QStringLiteral("a"), QStringLiteral("b"));
        const QByteArray content = serializePackageMap(map);
        QCOMPARE(content.toHex(' '), QByteArray("00 00 00 01 00 00 00 02 00 61 00 00 00 0a 00 00 00 00 02 00 62"));

        QMap<QString, QVariant> bytes;
        bytes.insert(QStringLiteral("a"), QByteArray("\x01\x02\x03"));
        QVERIFY(serializePackageMap(bytes).endsWith(QByteArray::fromHex("0000000c000000000301 0203")));

        const QByteArray outer = QByteArray::fromBase64(encodePackageText(content, md5(content)));
        QCOMPARE(outer.size(), 4 + 21 + 4 + 16);
        QCOMPARE(outer.left(4), QByteArray::fromHex("00000015"));
        QCOMPARE(outer.mid(4, 21), content);
        QCOMPARE(outer.mid(25, 4), QByteArray::fromHex("00000010"));
        QCOMPARE(outer.mid(29), md5(content));

        TempWorkDir dir;
        QCOMPARE(
            writePackageDatabase(QStringLiteral("a.vexabin"), encodePackageText(content, md5(content))), QString());
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("a.vexabin"), &info), QString());
        QCOMPARE(info.infoMap(), map);
    }

    void base64WithLineBreaks()
    {
        TempWorkDir dir;
        const QByteArray text = goodText();
        QByteArray wrapped;
        for (int i = 0; i < text.size(); i += 76)
            wrapped += text.mid(i, 76) + "\r\n";
        QCOMPARE(writePackageDatabase(QStringLiteral("plain.vexabin"), text), QString());
        QCOMPARE(writePackageDatabase(QStringLiteral("wrapped.vexabin"), wrapped), QString());
        DEncryptInfo plain;
        DEncryptInfo lines;
        QCOMPARE(parse(QStringLiteral("plain.vexabin"), &plain), QString());
        QCOMPARE(parse(QStringLiteral("wrapped.vexabin"), &lines), QString());
        QCOMPARE(lines.infoMap(), plain.infoMap());
        QCOMPARE(lines.image(), sampleImage(3000));
    }

    // A BLOB first column is read byte for byte; later columns are ignored.
    void blobColumnAndExtraColumns()
    {
        TempWorkDir dir;
        QVERIFY(makeDatabase(QStringLiteral("b.vexabin"),
            { "create table OTHER (x)", "create table INFO (PAYLOAD blob, NOTE text)",
                "insert into INFO values (?, 'ignored')" },
            { goodText() }));
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("b.vexabin"), &info), QString());
        QCOMPARE(info.model(), kModel);

        // Text stored as UTF-16 reads the same: its zero bytes are no Base64.
        QVERIFY(makeDatabase(QStringLiteral("u.vexabin"),
            { "pragma encoding = 'UTF-16le'", "create table INFO (DATA text)", "insert into INFO values (?)" },
            { QString::fromLatin1(goodText()) }));
        QCOMPARE(parse(QStringLiteral("u.vexabin"), &info), QString());
        QCOMPARE(info.model(), kModel);
    }

    void onlyImageKey()
    {
        TempWorkDir dir;
        QMap<QString, QVariant> map;
        map.insert(QLatin1String(kPackageImageKey), sampleImage(10));
        const QByteArray content = serializePackageMap(map);
        QCOMPARE(
            writePackageDatabase(QStringLiteral("i.vexabin"), encodePackageText(content, md5(content))), QString());
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("i.vexabin"), &info), QString());
        QCOMPARE(info.device(), QString());
        QCOMPARE(info.version(), QString());
        QCOMPARE(info.model(), QString());
        QCOMPARE(info.image(), sampleImage(10));
    }

    // Equal keys may repeat in the stream; the one read last wins.
    void repeatedKeyReadsLastEntry()
    {
        TempWorkDir dir;
        QByteArray content;
        {
            QDataStream stream(&content, QIODevice::WriteOnly);
            stream << quint32(3);
            stream << QString::fromLatin1(kPackageModelKey) << QVariant(QStringLiteral("first"));
            stream << QString::fromLatin1(kPackageDeviceKey) << QVariant(kDevice);
            stream << QString::fromLatin1(kPackageModelKey) << QVariant(QStringLiteral("last"));
        }
        QCOMPARE(
            writePackageDatabase(QStringLiteral("r.vexabin"), encodePackageText(content, md5(content))), QString());
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("r.vexabin"), &info), QString());
        QCOMPARE(info.model(), QStringLiteral("last"));
        QCOMPARE(info.device(), kDevice);
        QCOMPARE(info.infoMap().size(), 3);
    }

    // A checked but unreadable map is not an error: it parses to nothing.
    void truncatedMapIsEmptySuccess()
    {
        TempWorkDir dir;
        const QByteArray content = serializePackageMap(packageMap(kDevice, kVersion, kModel, sampleImage(50))).left(60);
        QCOMPARE(
            writePackageDatabase(QStringLiteral("t.vexabin"), encodePackageText(content, md5(content))), QString());
        DEncryptInfo info;
        info.setInfoMap({ { QStringLiteral("stale"), 1 } });
        info.setFilePath(QStringLiteral("t.vexabin"));
        DDbServer server { QLatin1String(kPackageConnectionName) };
        QCOMPARE(server.parseFile(info), QString());
        QVERIFY(info.infoMap().isEmpty());
    }

    void secondFileOnSameConnection()
    {
        TempWorkDir dir;
        QCOMPARE(writePackageFile(QStringLiteral("one.vexabin"), QStringLiteral("D1"), QStringLiteral("V1"),
                     QStringLiteral("M1"), sampleImage(5)),
            QString());
        QMap<QString, QVariant> other;
        other.insert(QLatin1String(kPackageModelKey), QStringLiteral("M2"));
        const QByteArray content = serializePackageMap(other);
        QCOMPARE(
            writePackageDatabase(QStringLiteral("two.vexabin"), encodePackageText(content, md5(content))), QString());

        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("one.vexabin"), &info), QString());
        QCOMPARE(info.model(), QStringLiteral("M1"));
        info.setFilePath(QStringLiteral("two.vexabin"));
        DDbServer server { QLatin1String(kPackageConnectionName) };
        QCOMPARE(server.parseFile(info), QString());
        QCOMPARE(info.infoMap(), other);
        QCOMPARE(QSqlDatabase::connectionNames().count(QLatin1String(kPackageConnectionName)), 1);
    }

    // The user's file is opened read-only: nothing is written and nothing is
    // left beside it.
    void parsingNeverWrites()
    {
        TempWorkDir dir;
        QCOMPARE(
            writePackageFile(QStringLiteral("p.vexabin"), kDevice, kVersion, kModel, sampleImage(4096)), QString());
        const QByteArray before = dir.readFile(QStringLiteral("p.vexabin"));
        const QStringList listing = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        {
            DEncryptInfo info;
            info.setFilePath(QStringLiteral("p.vexabin"));
            DDbServer server { QLatin1String(kPackageConnectionName) };
            QCOMPARE(server.parseFile(info), QString());
            QSqlQuery write(QSqlDatabase::database(QLatin1String(kPackageConnectionName), false));
            QVERIFY(!write.exec(QStringLiteral("create table X (a)")));
            QVERIFY(!write.exec(QStringLiteral("delete from INFO")));
        }
        QCOMPARE(dir.readFile(QStringLiteral("p.vexabin")), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), listing);
    }

    void writerReplacesAndReportsErrors()
    {
        TempWorkDir dir;
        QCOMPARE(writePackageFile(QStringLiteral("p.vexabin"), QStringLiteral("D"), QStringLiteral("V"),
                     QStringLiteral("OLD"), sampleImage(5)),
            QString());
        QCOMPARE(writePackageFile(QStringLiteral("p.vexabin"), QStringLiteral("D"), QStringLiteral("V"),
                     QStringLiteral("NEW"), sampleImage(5)),
            QString());
        DEncryptInfo info;
        QCOMPARE(parse(QStringLiteral("p.vexabin"), &info), QString());
        QCOMPARE(info.model(), QStringLiteral("NEW"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("p.vexabin") });

        QVERIFY(!writePackageFile(QStringLiteral("no/such/dir/p.vexabin"), {}, {}, {}, {}).isEmpty());
        QVERIFY(QDir().mkdir(QStringLiteral("folder")));
        QVERIFY(!writePackageFile(QStringLiteral("folder"), {}, {}, {}, {}).isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("p.vexabin") });
    }
};

QTEST_GUILESS_MAIN(TstDDbServer)
#include "tst_ddbserver.moc"
