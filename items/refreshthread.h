#pragma once

#include <QStringList>
#include <QThread>

// Reads the instrument's configuration items one by one on its own thread.
class RefreshThread : public QThread
{
    Q_OBJECT

public:
    explicit RefreshThread(QObject *parent = nullptr);

signals:
    void signalClearItems();
    void signalAddItems(int index, const QStringList &list);
    void showErrorMessage(const QString &title, const QString &error, const QString &image);

protected:
    void run() override;
};
