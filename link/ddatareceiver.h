#pragma once

#include <QByteArray>
#include <QString>

// Receives the chunks of a streamed answer (history, monitor).
class DDataReceiver
{
public:
    virtual ~DDataReceiver() = default;
    virtual bool isStopped() = 0;
    virtual void onReceiveError(const QString error) = 0;
    virtual void onReceiveData(const QByteArray data) = 0;
};
