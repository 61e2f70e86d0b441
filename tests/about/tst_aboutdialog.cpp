#include "about/aboutdialog.h"
#include "about/neutralaboutdialog.h"
#include "base/settings.h"
#include "tests/support/tempworkdir.h"

#include <QPushButton>
#include <QtTest>

class TstAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void versionText_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("English") << QByteArray("[language]\nlanguage=en_US\n") << "Vexa Assistant V4.26";
        QTest::newRow("Simplified") << QByteArray("[language]\nlanguage=zh_CH\n") << "Vexa助手 V4.26";
        QTest::newRow("no language") << QByteArray() << "Vexa助手 V4.26";
        QTest::newRow("other case") << QByteArray("[language]\nlanguage=zh_tw\n[appname]\ntw=T\nch=C\n") << "C V4.26";
        QTest::newRow("Traditional") << QByteArray("[language]\nlanguage=zh_TW\n[appname]\ntw=T\n") << "T V4.26";
        QTest::newRow("no version") << QByteArray("[language]\nlanguage=en_US\n[appname]\nver=false\n")
                                    << "Vexa Assistant";
    }

    void versionText()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        TempWorkDir dir;
        if (!ini.isEmpty())
            QVERIFY(dir.writeFile(QStringLiteral("config.ini"), ini));
        NeutralAboutDialog neutral;
        QCOMPARE(neutral.versionText(), expected);
        AboutDialog branded;
        QCOMPARE(branded.versionText(), expected);
    }

    void fixedSizeWithoutHelpButton()
    {
        TempWorkDir dir;
        NeutralAboutDialog dialog;
        QCOMPARE(dialog.size(), QSize(245, 112));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("关于"));
        AboutDialog branded;
        QCOMPARE(branded.size(), QSize(452, 276));
        QCOMPARE(branded.minimumSize(), branded.maximumSize());
    }

    void okCloses()
    {
        TempWorkDir dir;
        NeutralAboutDialog dialog;
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("bntOK")), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TstAboutDialog)
#include "tst_aboutdialog.moc"
