#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "tests/support/tempworkdir.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run vexaPack(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VEXA_BIN_DIR "/vexa-pack"), arguments);
    Run run;
    if (!process.waitForFinished(20000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TstVexaPack : public QObject
{
    Q_OBJECT

private slots:
    void writesPackageTheReaderAccepts()
    {
        TempWorkDir dir;
        QByteArray image(2500, Qt::Uninitialized);
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i ^ (i >> 8));
        QVERIFY(dir.writeFile(QStringLiteral("image.bin"), image));
        const Run run = vexaPack({ "--device", "一号表", "--version", "V1.0", "--model", "VX-200", "--image",
            "image.bin", "-o", "out.vexabin" });
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);

        DEncryptInfo info;
        info.setFilePath(QStringLiteral("out.vexabin"));
        DDbServer server { QLatin1String(kPackageConnectionName) };
        QCOMPARE(server.parseFile(info), QString());
        QCOMPARE(info.device(), QStringLiteral("一号表"));
        QCOMPARE(info.version(), QStringLiteral("V1.0"));
        QCOMPARE(info.model(), QStringLiteral("VX-200"));
        QCOMPARE(info.image(), image);

        const Run inspect = vexaPack({ "--inspect", "out.vexabin" });
        QCOMPARE(inspect.exitCode, 0);
        const QString md5 = QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Md5).toHex());
        QCOMPARE(inspect.out,
            QStringLiteral("file:    out.vexabin\ndevice:  一号表\nversion: V1.0\nmodel:   VX-200\n"
                           "image:   2500 bytes, 3 pages\nmd5:     %1\ndigest:  ok\n")
                .arg(md5));
    }

    void inspectReportsBadDigestAndUnreadableFiles()
    {
        TempWorkDir dir;
        QByteArray content = serializePackageMap(packageMap("D", "V", "M", QByteArray(10, 'x')));
        const QByteArray digest = QCryptographicHash::hash(content, QCryptographicHash::Md5);
        content[content.size() - 1] = 'y';
        QCOMPARE(writePackageDatabase(QStringLiteral("bad.vexabin"), encodePackageText(content, digest)), QString());
        const Run bad = vexaPack({ "--inspect", "bad.vexabin" });
        QCOMPARE(bad.exitCode, 2);
        QVERIFY2(bad.out.contains(QLatin1String("digest:  MISMATCH")), qPrintable(bad.out));
        QVERIFY(bad.out.contains(QLatin1String("model:   M\n")));

        QVERIFY(dir.writeFile(QStringLiteral("text.vexabin"), "hello\n"));
        const Run text = vexaPack({ "--inspect", "text.vexabin" });
        QCOMPARE(text.exitCode, 2);
        QCOMPARE(text.err, QStringLiteral("text.vexabin: 解析文件失败,文件操作失败!\n"));
    }

    void usageErrors()
    {
        TempWorkDir dir;
        const Run help = vexaPack({ "--help" });
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains(QLatin1String("--inspect")));
        QVERIFY(help.out.contains(QLatin1String("--image")));

        const Run missing = vexaPack({ "--device", "D", "--version", "V", "--image", "x.bin", "-o", "o.vexabin" });
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains(QLatin1String("--model")));

        const Run noImage
            = vexaPack({ "--device", "D", "--version", "V", "--model", "M", "--image", "x.bin", "-o", "o.vexabin" });
        QCOMPARE(noImage.exitCode, 1);
        QVERIFY(!QFile::exists(QStringLiteral("o.vexabin")));
    }
};

QTEST_GUILESS_MAIN(TstVexaPack)
#include "tst_vexapack.moc"
