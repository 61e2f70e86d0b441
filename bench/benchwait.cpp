#include "bench/benchwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool waitUntil(const std::function<bool()> &done, int timeoutMs, int wakeMs)
{
    QElapsedTimer timer;
    timer.start();
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(wakeMs);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}
