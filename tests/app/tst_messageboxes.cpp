#include "app/mainwindow.h"
#include "base/messageboxes.h"
#include "base/settings.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QDialog>
#include <QStatusBar>
#include <QtTest>

class TstMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void freeBoxesTakeTheParentsTitle()
    {
        TempWorkDir dir;
        QDialog parent;
        parent.setWindowTitle(QStringLiteral("更新固件"));
        ModalBoxCatcher catcher;
        showCriticalBox(QStringLiteral("出错了"), &parent);
        showInformationBox(QStringLiteral("好了"), &parent);
        showCriticalBox(QStringLiteral("无父窗口"), nullptr);
        showInformationBox(QStringLiteral("无父窗口"), nullptr);
        const auto boxes = catcher.boxes();
        QCOMPARE(boxes.size(), 4);
        QCOMPARE(boxes[0].title, QStringLiteral("更新固件"));
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].okText, QStringLiteral("确定"));
        QCOMPARE(boxes[1].icon, QMessageBox::Information);
        QCOMPARE(boxes[2].title, QStringLiteral("错误"));
        QCOMPARE(boxes[3].title, QStringLiteral("信息"));
    }

    void errorBoxLeavesItsTextInTheStatusBar()
    {
        TempWorkDir dir;
        MainWindow window;
        ModalBoxCatcher catcher;
        window.slotShowErrorMessage(QStringLiteral("刷新"), QStringLiteral("接受数据超时"), QString());
        QCOMPARE(catcher.boxes().size(), 1);
        QCOMPARE(catcher.boxes()[0].title, QStringLiteral("刷新"));
        QCOMPARE(catcher.boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("接受数据超时"));
    }

    void okTextFollowsTheLanguage()
    {
        TempWorkDir dir;
        QVERIFY(dir.copyTranslations());
        MainWindow window;
        window.slot_en_US();
        ModalBoxCatcher catcher;
        window.slotShowErrorMessage(QStringLiteral("t"), QStringLiteral("x"), QString());
        showCriticalBox(QStringLiteral("y"), nullptr);
        QCOMPARE(catcher.boxes().size(), 2);
        QCOMPARE(catcher.boxes()[0].okText, QStringLiteral("OK"));
        QCOMPARE(catcher.boxes()[1].okText, QStringLiteral("OK"));
        QCOMPARE(catcher.boxes()[1].title, QStringLiteral("Error"));
        window.slot_zh_TW();
        showInformationBox(QStringLiteral("z"), nullptr);
        QCOMPARE(catcher.boxes()[2].okText, QStringLiteral("確定"));
        QCOMPARE(catcher.boxes()[2].title, QStringLiteral("資訊"));
    }
};

QTEST_MAIN(TstMessageBoxes)
#include "tst_messageboxes.moc"
