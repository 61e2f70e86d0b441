// Renders the item list and the edit dialog in every language; with
// VEXA_SCREENSHOT_DIR set the pictures are kept there for a look.
#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "items/configtree.h"
#include "items/modifydialog.h"
#include "items/writereviewdialog.h"
#include "tests/items/metersettings.h"
#include "tests/support/tempworkdir.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

namespace {

void keep(QWidget &widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("VEXA_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        widget.grab().save(dir + QLatin1Char('/') + name + QLatin1String(".png"));
}

} // namespace

class TstItemScreens : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void listAndDialog_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("submit");
        QTest::newRow("zh_CH") << "zh_CH"
                               << "提交";
        QTest::newRow("en_US") << "en_US"
                               << "Submit";
        QTest::newRow("zh_TW") << "zh_TW"
                               << "送出";
    }
    void listAndDialog()
    {
        QFETCH(QString, language);
        QFETCH(QString, submit);
        TempWorkDir dir;
        QVERIFY(dir.copyTranslations());
        SimRunner meter;
        connectToMeter(meter, true);
        appSettings()->setValue("language/language", language);
        MainWindow window;
        window.show();
        window.slotRefresh();
        QVERIFY(window.refreshThread()->wait(20000));
        QCoreApplication::processEvents();
        QCOMPARE(window.configTree()->topLevelItemCount(), SimProfile::demo().items.size());
        window.configTree()->setCurrentItem(window.configTree()->topLevelItem(5));
        keep(window, "items-window-" + language);
        // The list taken back from a file: its values marked until written.
        setNextFileNames({ dir.filePath("items.csv"), dir.filePath("items.csv") });
        window.slotExportItems();
        window.slotImportItems();
        QCOMPARE(window.configTree()->topLevelItem(5)->toolTip(1),
            QCoreApplication::translate("ItemPage", "来自文件, 未写入"));
        window.configTree()->showHeldRows();
        keep(window, "items-imported-" + language);

        QTreeWidgetItem *row = window.configTree()->topLevelItem(5);
        ModifyDialog dialog(row->text(0).mid(4), row->text(1).mid(2), &window);
        dialog.show();
        QCOMPARE(dialog.findChild<QPushButton *>("commit")->text(), submit);
        QCOMPARE(dialog.findChild<QComboBox *>()->currentText(), QStringLiteral("9600"));
        keep(dialog, "items-dialog-" + language);
        dialog.findChild<QComboBox *>()->showPopup();
        QWidget *popup = dialog.findChild<QComboBox *>()->view()->window();
        QVERIFY(popup->isVisible());
        keep(*popup, "items-dialog-popup-" + language);
        popup->hide();

        // The review before a batch write, after a file changed two values.
        QVector<ItemWriteRequest> requests;
        for (int i = 0; i < 12; ++i) {
            const QTreeWidgetItem *item = window.configTree()->topLevelItem(i);
            requests << ItemWriteRequest { i, itemRowName(item->text(0)), item->text(1).mid(2) };
        }
        requests[5].value = QStringLiteral("19200");
        requests[9].value = QStringLiteral("192.168.1.121");
        requests << ItemWriteRequest { 40, QStringLiteral("新项"), QStringLiteral("7") };
        WriteReviewDialog review(buildReviewRows(requests, window.knownValues()), &window);
        review.show();
        QCOMPARE(review.summaryText(),
            QCoreApplication::translate("WriteReviewDialog", "将写入%1项,未改变%2项,设备值未知%3项")
                .arg(3)
                .arg(10)
                .arg(1));
        keep(review, "review-dialog-" + language);
    }
};

QTEST_MAIN(TstItemScreens)
#include "tst_itemscreens.moc"
