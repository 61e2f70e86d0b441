#pragma once

#include <QStringList>
#include <QThread>

#include <atomic>

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

signals:
    void signalClearItems();
    void signalAddItems(int index, const QStringList &list);
    void showErrorMessage(const QString &title, const QString &error, const QString &image);

protected:
    void run() override;

private:
    std::atomic<bool> m_stop { false };
};
