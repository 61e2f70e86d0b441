#include "history/historysession.h"

#include "history/historylines.h"
#include "link/ddatareceiver.h"
#include "link/devicechannel.h"

namespace {

// What the channel streams, for one read.
class TextReceiver : public DDataReceiver
{
public:
    TextReceiver(const std::function<void(const QString &)> &onText, const std::atomic_bool *stop,
        const std::function<void(const QString &)> &onError)
        : m_onText(onText)
        , m_onError(onError)
        , m_stop(stop)
    {
    }

    bool isStopped() override { return m_stop && m_stop->load(); }

    void onReceiveError(const QString error) override
    {
        if (!error.isEmpty() && m_onError)
            m_onError(error);
    }

    void onReceiveData(const QByteArray data) override
    {
        for (const QString &batch : m_lines.feed(data))
            m_onText(batch);
    }

    void flush()
    {
        const QString rest = m_lines.takeRest();
        if (!rest.isEmpty())
            m_onText(rest);
    }

private:
    const std::function<void(const QString &)> &m_onText;
    const std::function<void(const QString &)> &m_onError;
    const std::atomic_bool *m_stop;
    HistoryLines m_lines;
};

} // namespace

HistorySession::HistorySession(DeviceChannel &channel)
    : m_channel(channel)
{
}

LinkFailure HistorySession::read(const QByteArray &request, const std::function<void(const QString &)> &onText,
    const std::atomic_bool *stop, const std::function<void(const QString &)> &onError) const
{
    TextReceiver receiver(onText, stop, onError);
    const LinkFailure failure = m_channel.transactStream(request, &receiver);
    receiver.flush();
    return failure;
}
