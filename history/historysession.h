#pragma once

#include "link/linkfailure.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>

class DeviceChannel;

// One history request on an open channel, without any window or thread. The
// answer's text goes out as it arrives, cut as HistoryLines cuts it: one
// call for the whole lines of each received piece, and the last line
// without a line end once the instrument falls silent.
class HistorySession
{
public:
    explicit HistorySession(DeviceChannel &channel);

    // Sends the request and hands the answer on until it ends, fails or
    // *stop is set (looked at before each read). onError hears the channel's
    // text of a failure when it happens. Returns what ended the answer
    // (Kind::None: it ended, or was stopped).
    LinkFailure read(const QByteArray &request, const std::function<void(const QString &text)> &onText,
        const std::atomic_bool *stop = nullptr, const std::function<void(const QString &error)> &onError = {}) const;

private:
    DeviceChannel &m_channel;
};
