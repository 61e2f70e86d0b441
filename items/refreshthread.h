#pragma once

#include <QByteArray>
#include <QStringList>
#include <QThread>

#include <atomic>

class DeviceChannel;

// Reads the instrument's configuration items one by one on its own thread.
class RefreshThread : public QThread
{
    Q_OBJECT

public:
    explicit RefreshThread(QObject *parent = nullptr);

    // Starts a new run unless one runs already.
    void start(Priority priority = InheritPriority);
    // Ends a run at its next wait, within one poll slice, without a message;
    // the items read so far stay. Does not block.
    void requestStop() { m_stop = true; }

    // Index byte of the last item asked for; the list never goes beyond it.
    static constexpr int LastItemIndex = 255;

    // Asks for one item; the buffer holds every byte collected afterwards.
    static int requestItem(DeviceChannel &channel, int index, QByteArray &buffer, int timeoutMs);
    // True means stop reading (end of the list or a reported failure). With an
    // index the failed request is repeated once; -1 means no repetition left.
    bool checkResponse(
        int result, DeviceChannel &channel, int index, const QString &title, const QString &image, QByteArray &buffer);

signals:
    void signalClearItems();
    void signalAddItems(int index, const QStringList &list);
    void showErrorMessage(const QString &title, const QString &error, const QString &image);

protected:
    void run() override;

private:
    std::atomic<bool> m_stop { false };
};
