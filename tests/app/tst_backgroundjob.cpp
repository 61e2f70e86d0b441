#include "base/backgroundjob.h"

#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

class TstBackgroundJob : public QObject
{
    Q_OBJECT

private slots:
    void stepsArriveInOrderOnTheWindowsThreadBeforeRunReturns()
    {
        QMainWindow window;
        window.show();
        QStringList steps;
        QVector<bool> onWindowThread;
        bool modalMeanwhile = false;
        {
            BackgroundJob job(&window);
            job.run([&] {
                for (int i = 0; i < 50; ++i) {
                    job.post([&, i] {
                        steps << QString::number(i);
                        onWindowThread << (QThread::currentThread() == window.thread());
                        modalMeanwhile = modalMeanwhile || QApplication::activeModalWidget() == &job.progress();
                    });
                }
                QThread::msleep(50);
            });
            // The progress has gone once the work has; taking it down is not a Cancel.
            QVERIFY(!job.progress().isVisible());
            QVERIFY(!job.wasCancelled());
        }
        QCOMPARE(steps.size(), 50);
        QCOMPARE(steps.first(), QStringLiteral("0"));
        QCOMPARE(steps.last(), QStringLiteral("49"));
        QVERIFY(!onWindowThread.contains(false));
        // The window took no input meanwhile: its progress was the modal one.
        QVERIFY(modalMeanwhile);
    }

    void cancelReachesTheWork()
    {
        QMainWindow window;
        window.show();
        BackgroundJob job(&window);
        int slices = 0;
        QTimer::singleShot(100, &job.progress(), [&job] { job.progress().findChild<QPushButton *>()->click(); });
        QElapsedTimer clock;
        clock.start();
        // The work looks at the flag where stopping is safe, and ends there.
        job.run([&] {
            while (!job.stopFlag() && clock.elapsed() < 10000) {
                QThread::msleep(10);
                ++slices;
            }
        });
        QVERIFY(job.wasCancelled());
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(slices > 0);
    }
};

QTEST_MAIN(TstBackgroundJob)
#include "tst_backgroundjob.moc"
