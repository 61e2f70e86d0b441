#include "monitor/monitordialog.h"
#include "tests/support/tempworkdir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

} // namespace

// Hours of monitoring: the display must keep taking lines at a steady cost.
class TstMonitorLoad : public QObject
{
    Q_OBJECT

private slots:
    void appendManyLines_data();
    void appendManyLines();
};

void TstMonitorLoad::appendManyLines_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("raw") << int(MonitorMode::Original);
    QTest::newRow("combined") << int(MonitorMode::OriginalHex);
}

void TstMonitorLoad::appendManyLines()
{
    QFETCH(int, mode);
    TempWorkDir dir;
    MonitorDialog dialog;
    const char *button = mode == int(MonitorMode::Original) ? "rdOriginal" : "rdOriginalHex";
    dialog.findChild<QAbstractButton *>(QLatin1String(button))->setChecked(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *edit = dialog.findChild<QPlainTextEdit *>(QStringLiteral("textEdit"));

    const qint64 rssBefore = residentKiB();
    QElapsedTimer total;
    total.start();
    qint64 lastThousandMs = 0;
    int done = 0;
    for (int target : { 1000, 10000, 100000 }) {
        QElapsedTimer step;
        step.start();
        for (; done < target; ++done) {
            QElapsedTimer one;
            if (done + 1000 >= target)
                one.start();
            dialog.slotDataRecv(
                QByteArray::number(done).rightJustified(6, '0') + " ADC=1023 T=25.3C Q=123.45 m3/h\r\n");
            // Lines arrive queued: let the event loop turn now and then, as it would.
            if (done % 50 == 0)
                QCoreApplication::processEvents();
            if (done + 1000 >= target)
                lastThousandMs += one.elapsed();
        }
        QCoreApplication::processEvents();
        qInfo("%6d lines: %6lld ms for this step, last 1000 lines %lld ms, RSS +%lld KiB", target, step.elapsed(),
            lastThousandMs, residentKiB() - rssBefore);
        lastThousandMs = 0;
    }
    QCOMPARE(edit->document()->blockCount(), 100001);
    // Appending stays cheap however long the text is (generous for a shared machine).
    QVERIFY2(total.elapsed() < 60000, qPrintable(QString::number(total.elapsed())));
    QElapsedTimer clear;
    clear.start();
    dialog.slotClearText();
    QCOMPARE(edit->toPlainText(), QString());
    qInfo("clear: %lld ms", clear.elapsed());
}

QTEST_MAIN(TstMonitorLoad)
#include "tst_monitorload.moc"
