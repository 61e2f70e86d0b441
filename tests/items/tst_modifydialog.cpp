#include "app/mainwindow.h"
#include "base/settings.h"
#include "items/modifydialog.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

// Runs `work` on the first ModifyDialog that becomes modal.
void onModifyDialog(QObject *context, std::function<void(ModifyDialog *)> work)
{
    auto *timer = new QTimer(context);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, context, [timer, work]() {
        auto *dialog = qobject_cast<ModifyDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        work(dialog);
    });
    timer->start();
}

} // namespace

class TstModifyDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void optionList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("three choices") << "波特率(9600/19200/38400)" << true << "波特率"
                                       << QStringList { "9600", "19200", "38400" };
        QTest::newRow("single choice is no list") << "模式(auto)" << false << QString() << QStringList();
        QTest::newRow("last group is the list") << "A(B)(x/y)" << true << "A(B)" << QStringList { "x", "y" };
        QTest::newRow("empty choice is no list") << "A(x//y)" << false << QString() << QStringList();
        QTest::newRow("list must end the name") << "A(x/y) s" << false << QString() << QStringList();
        QTest::newRow("label required") << "(x/y)" << false << QString() << QStringList();
    }
    void optionList()
    {
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QFETCH(QString, label);
        QFETCH(QStringList, choices);
        QString parsedLabel;
        QStringList parsedChoices;
        QCOMPARE(ModifyDialog::parseOptionList(name, &parsedLabel, &parsedChoices), matches);
        if (matches) {
            QCOMPARE(parsedLabel, label);
            QCOMPARE(parsedChoices, choices);
        }
    }

    void choice_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("selection");
        QTest::newRow("equal") << QStringList { "9600", "19200", "38400" } << "19200"
                               << "19200";
        QTest::newRow("contained") << QStringList { "9600", "19200" } << "9600bps"
                                   << "9600";
        QTest::newRow("equal wins over contained") << QStringList { "200", "1200" } << "1200"
                                                   << "1200";
        QTest::newRow("equal stays when later ones are contained") << QStringList { "1200", "200" } << "1200"
                                                                   << "1200";
        QTest::newRow("last contained wins") << QStringList { "L", "m3" } << "m3/L"
                                             << "m3";
        QTest::newRow("nothing fits") << QStringList { "9600", "19200" } << "4800" << QString();
    }
    void choice()
    {
        QFETCH(QStringList, choices);
        QFETCH(QString, value);
        QFETCH(QString, selection);
        QCOMPARE(ModifyDialog::chooseOption(choices, value), selection);
    }

    void dropDownForOptionList()
    {
        ModifyDialog dialog("波特率(9600/19200/38400)", "19200");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("波特率"));
        QVERIFY(!dialog.findChild<QLineEdit *>());
        auto *combo = dialog.findChild<QComboBox *>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentText(), QStringLiteral("19200"));
        QCOMPARE(combo->geometry(), QRect(10, 20, 211, 31));
        QCOMPARE(dialog.size(), QSize(232, 119));
        QCOMPARE(dialog.value(), QStringLiteral("19200"));

        ModifyDialog unmatched("波特率(9600/19200)", "4800");
        QCOMPARE(unmatched.value(), QStringLiteral("9600"));
    }

    void textFieldOtherwise()
    {
        ModifyDialog dialog("模式(auto)", "x");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("模式(auto)"));
        QVERIFY(!dialog.findChild<QComboBox *>());
        QCOMPARE(dialog.value(), QStringLiteral("x"));
    }

    void editValueIsTrimmed()
    {
        TempWorkDir dir;
        MainWindow window;
        QString title;
        onModifyDialog(this, [&title](ModifyDialog *dialog) {
            title = dialog->windowTitle();
            dialog->findChild<QLineEdit *>()->setText("  192.168.1.9 ");
            dialog->findChild<QPushButton *>("commit")->click();
        });
        QString value;
        QCOMPARE(window.editItem("102. IP地址", ": 192.168.1.120", value), ItemEdit::NewValue);
        QCOMPARE(title, QStringLiteral("IP地址"));
        QCOMPARE(value, QStringLiteral("192.168.1.9"));
    }

    void editCancelled()
    {
        TempWorkDir dir;
        MainWindow window;
        onModifyDialog(this, [](ModifyDialog *dialog) { dialog->findChild<QPushButton *>("cancel")->click(); });
        QString value = "old";
        QCOMPARE(window.editItem("05. 波特率(9600/19200)", ": 9600", value), ItemEdit::Cancelled);
        QCOMPARE(value, QString());
    }

    // The dialog opens on the value, selected, so typing replaces it and Enter
    // commits; Enter on the value as shown writes nothing.
    void enterCommitsFromTheValue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<ItemEdit>("result");
        QTest::addColumn<QString>("value");
        QTest::newRow("text unchanged") << "102. IP地址" << QString() << ItemEdit::Cancelled << QString();
        QTest::newRow("text typed over") << "102. IP地址"
                                         << "10.0.0.7" << ItemEdit::NewValue << "10.0.0.7";
        QTest::newRow("choice unchanged")
            << "05. 波特率(9600/192.168.1.120)" << QString() << ItemEdit::Cancelled << QString();
    }
    void enterCommitsFromTheValue()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(ItemEdit, result);
        QFETCH(QString, value);
        TempWorkDir dir;
        MainWindow window;
        QString selected;
        onModifyDialog(this, [&](ModifyDialog *dialog) {
            QWidget *focused = dialog->focusWidget();
            if (auto *edit = qobject_cast<QLineEdit *>(focused))
                selected = edit->selectedText();
            else if (auto *combo = qobject_cast<QComboBox *>(focused))
                selected = combo->currentText();
            if (!typed.isEmpty())
                QTest::keyClicks(focused, typed);
            QTest::keyClick(focused ? focused : dialog, Qt::Key_Return);
        });
        QString newValue;
        QCOMPARE(window.editItem(name, ": 192.168.1.120", newValue), result);
        QCOMPARE(selected, QStringLiteral("192.168.1.120"));
        QCOMPARE(newValue, value);
    }

    void commandAsksForConfirmation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<ItemEdit>("result");
        QTest::newRow("ok") << int(QMessageBox::Ok) << ItemEdit::CommandConfirmed;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << ItemEdit::Cancelled;
    }
    void commandAsksForConfirmation()
    {
        QFETCH(int, answer);
        QFETCH(ItemEdit, result);
        TempWorkDir dir;
        MainWindow window;
        ModalBoxCatcher catcher;
        catcher.setAnswer(QMessageBox::StandardButton(answer));
        QString value;
        QCOMPARE(window.editItem("03. 恢复出厂", QString(), value), result);
        QCOMPARE(value, QString());
        QCOMPARE(catcher.boxes().size(), 1);
        QCOMPARE(catcher.boxes().at(0).text, QStringLiteral("恢复出厂"));
        QCOMPARE(catcher.boxes().at(0).title, QStringLiteral(" "));
        QCOMPARE(catcher.boxes().at(0).icon, QMessageBox::NoIcon);
        // A command (a factory reset) runs at once: the box names its row and
        // Enter cancels.
        QCOMPARE(catcher.boxes().at(0).informativeText, QStringLiteral("第03行是命令,按“确定”立即发送给设备执行。"));
        QCOMPARE(catcher.boxes().at(0).defaultButton, QMessageBox::Cancel);
    }
};

QTEST_MAIN(TstModifyDialog)
#include "tst_modifydialog.moc"
