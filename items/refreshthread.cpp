#include "items/refreshthread.h"

RefreshThread::RefreshThread(QObject *parent)
    : QThread(parent)
{
}

void RefreshThread::run()
{
}
