#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include <QByteArray>

#include <functional>

class DEncryptInfo;
class DeviceChannel;

// What an update tells while it runs.
struct UpdateSteps
{
    // Percent of the image sent: 0 once erased, then after each page.
    std::function<void(int percent)> progress;
    // The finish requests go out now; a rebooting meter may not answer them.
    std::function<void()> finishing;
    // A failure as soon as it is known (before the finish requests that
    // follow a failed identification).
    std::function<void(const LinkFailure &failure)> failed;
};

// Writes a package's image into the instrument over a channel, without any
// window or thread: check the package, open the channel, identify and check
// the model, erase, send the pages, finish. Cannot be cancelled; every
// exchange is bounded by the time-out. Texts are the update's own (context
// "UpdateThread").
class UpdateSession
{
public:
    static constexpr int kExchangeTimeoutMs = 10000;

    explicit UpdateSession(DeviceChannel &channel);

    // A package without image bytes would erase the meter and leave it empty.
    static LinkFailure packageFailure(const DEncryptInfo &info);

    // A rebooting meter is asked this many times after an update, each wait
    // this long, before it counts as not answering.
    static constexpr int kAfterUpdateAttempts = 3;
    static constexpr int kAfterUpdateIdentifyMs = 3000;
    static constexpr int kAfterUpdateFinishMs = 300;

    // The whole update on link; returns its failure (none: the image is in
    // the meter and the finish requests went out).
    LinkFailure update(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const;
    // Identification and the model check, then the finish requests; never
    // erase or pages. None: the meter is of the package's model.
    LinkFailure checkModel(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const;
    // After an update on this channel: whether the meter, rebooting, names
    // the model again within a few attempts (each followed by the finish
    // requests, as after every identification).
    bool answersAfterUpdate(const QString &model) const;

private:
    LinkFailure open(const LinkSettings &link, const DEncryptInfo &info, const UpdateSteps &steps) const;
    // Identification (twice at most) and the model check; on failure the
    // finish requests have gone out.
    LinkFailure identifyModel(const DEncryptInfo &info, const UpdateSteps &steps) const;
    LinkFailure flash(const DEncryptInfo &info, const UpdateSteps &steps) const;
    // True with the reply when this exchange's own well-formed identification reply came.
    bool identify(QByteArray &reply, int timeoutMs = kExchangeTimeoutMs) const;
    bool erase(quint32 imageSize) const;
    bool sendPage(const char *page, int pageNumber) const;
    void finish(const UpdateSteps &steps, int timeoutMs = kExchangeTimeoutMs) const;

    DeviceChannel &m_channel;
};
