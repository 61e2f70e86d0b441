#pragma once

#include "link/ddatareceiver.h"
#include "monitor/linesplitter.h"

#include <QByteArray>
#include <QThread>

#include <atomic>

// Sends one history request and hands the answer back line by line.
// The answer is unframed GB2312 text; a line ends with 0x0A (a CR before it
// stays part of the line) and a last line without one is delivered when the
// instrument falls silent. A line that grows past the splitter's cap is
// handed on in pieces, each ended by a line feed of its own.
class ReadThread : public QThread, public DDataReceiver
{
    Q_OBJECT

public:
    explicit ReadThread(QObject *parent = nullptr);
    ~ReadThread() override;

    // Stores the request and starts a run; refused (false) while one runs,
    // so the request is never changed under the worker.
    bool startQuery(const QByteArray &request);
    // Asks the run to end at the next read; does not wait.
    void stop();

    bool isStopped() override;
    void onReceiveError(const QString error) override;
    void onReceiveData(const QByteArray data) override;

signals:
    void signalClearText();
    void signalAddText(const QString &text);
    void signalShowError(const QString &title, const QString &error);

protected:
    void run() override;

private:
    void flushLine();

    std::atomic<bool> m_stop { false };
    LineSplitter m_splitter; // worker thread only
    QByteArray m_request; // written only while not running
};
