#pragma once

#include "link/commsettings.h"
#include "link/ddatareceiver.h"
#include "link/linkfailure.h"
#include "monitor/linesplitter.h"

#include <QByteArray>
#include <QThread>

#include <atomic>

// Sends one history request and hands the answer back line by line.
// The answer is unframed GB2312 text; a line ends with 0x0A (a CR before it
// stays part of the line) and a last line without one is delivered when the
// instrument falls silent. A line that grows past the splitter's cap is
// handed on in pieces, each ended by a line feed of its own. One
// signalAddText carries the whole lines of one received piece (several
// lines, each with its line end); the text is the same as line by line.
class ReadThread : public QThread, public DDataReceiver
{
    Q_OBJECT

public:
    // A piece with more text than this goes out in several signals.
    static constexpr int kMaxBatchChars = 256 * 1024;

    explicit ReadThread(QObject *parent = nullptr);
    ~ReadThread() override;

    // Stores the request and starts a run; refused (false) while one runs,
    // so the request is never changed under the worker.
    bool startQuery(const QByteArray &request);
    // Asks the run to end at the next read; does not wait.
    void stop();
    // The connection of the next runs, taken by whoever starts them; set while not running.
    void setLinkSettings(const LinkSettings &link) { m_link = link; }
    // What ended the last run, once it has finished (Kind::None: the answer ended).
    LinkFailure failure() const { return m_failure; }

    bool isStopped() override;
    void onReceiveError(const QString error) override;
    void onReceiveData(const QByteArray data) override;

signals:
    void signalClearText();
    void signalAddText(const QString &text);
    void signalShowError(const QString &title, const QString &error);
    // Each failure as a value, right after its text above: what a dialog
    // shows is made from it.
    void signalFailed(const QString &title, const LinkFailure &failure);

protected:
    void run() override;

private:
    void flushLine();

    std::atomic<bool> m_stop { false };
    LineSplitter m_splitter; // worker thread only
    QByteArray m_request; // written only while not running
    LinkSettings m_link; // written only while not running
    LinkFailure m_failure; // written only by the run
};
