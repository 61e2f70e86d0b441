#pragma once

#include "link/commsettings.h"
#include "link/frame.h"

#include "firmware/dencryptinfo.h"

#include <QByteArray>
#include <QThread>

#include <optional>

class DeviceChannel;

// Writes a package's image into the instrument: identify and check the
// model, erase, send the pages, finish. Cannot be cancelled; every exchange
// is bounded by the channel's time-out.
class UpdateThread : public QThread
{
    Q_OBJECT

public:
    explicit UpdateThread(QObject *parent = nullptr);
    // Waits for a running update: a QThread must not die while it runs.
    ~UpdateThread() override;

    // Only while the thread is not running.
    void setInfo(const DEncryptInfo &info);

    // Settings for the next runs instead of config.ini (the command line).
    void setLinkSettings(const LinkSettings &link) { m_link = link; }

signals:
    void signalUpdateSucceed();
    void signalShowErrorMessage(const QString &error);
    void signalUpdateProgress(int value);
    // The finish requests go out now; a rebooting meter may not answer them.
    void signalFinishing();

protected:
    void run() override;

private:
    // True with the reply when this exchange's own well-formed identification reply came.
    bool identify(DeviceChannel &channel, QByteArray &reply);
    bool erase(DeviceChannel &channel, quint32 imageSize);
    bool sendPage(DeviceChannel &channel, const char *page, int pageNumber);
    void finishUpdate(DeviceChannel &channel);

    DEncryptInfo m_info;
    std::optional<LinkSettings> m_link; // written only while not running
};
