#pragma once

#include "link/commsettings.h"
#include "link/ddatareceiver.h"
#include "link/frame.h"
#include "link/linkfailure.h"

#include <QHostAddress>
#include <QList>

#include <atomic>
#include <functional>
#include <memory>

class LinkTransport;

// The one way to the instrument: opened from the settings handed to it,
// used on the thread that opened it, closed when destroyed. Each kind of
// exchange is written once, over the transport (serial or UDP) it opened.
class DeviceChannel
{
public:
    DeviceChannel();
    ~DeviceChannel();

    DeviceChannel(const DeviceChannel &) = delete;
    DeviceChannel &operator=(const DeviceChannel &) = delete;

    // Opens with the settings an operation took when it started.
    bool open(const LinkSettings &settings);
    QString errorText() const { return m_errorText; }
    // The target of the last open, as the status bar shows it.
    QString targetText() const { return m_targetText; }
    // What the system said of the last failure of the port or socket (a
    // missing device, a refused datagram); empty for time-outs and when
    // nothing was said.
    QString systemReason() const;
    // Failures on this channel, with its target and the system's reason: the
    // last open's (Kind::None when it opened), an exchange's (None when its
    // bytes are an answer), and any other an operation names.
    LinkFailure openFailure() const;
    LinkFailure exchangeFailure(LinkResult result, const QByteArray &response) const;
    LinkFailure failure(LinkFailure::Kind kind, const QString &message) const;

    // Time an answer may still come after a repeated request was answered.
    static constexpr int kLateAnswerWindowMs = 1000;
    // Most bytes one exchange collects: far beyond any answer, so a peer that
    // keeps talking cannot make the channel grow without bound.
    static constexpr int kMaxCollectedBytes = 16 * 1024;

    // Every wait of transact, transactStream, discardLateAnswer and listen looks at
    // this flag at least every few tens of milliseconds and gives up once it
    // is set (transact then returns LinkStopped). Null: the waits run their course.
    void setStopFlag(const std::atomic<bool> *stop) { m_stop = stop; }

    // Answers handed out in this session that the channel keeps to recognise
    // copies of them (the oldest go first). Fewer than 256, so the same
    // answer to a page number that wrapped around is long forgotten.
    static constexpr int kRememberedAnswers = 128;

    // How an exchange judges each complete answer that arrives.
    enum class Verdict {
        Take, // the exchange's own answer
        LetGoCopy, // a copy of an answer handed out before: let go, the own answer may follow
        LetGoOther, // the answer to some other request: let go
    };
    // `remembered`: the answer equals, byte for byte, one handed out before in this session.
    using AnswerJudge = std::function<Verdict(const QByteArray &answer, bool remembered)>;
    struct Answer
    {
        LinkResult result = LinkOk;
        // The answer taken; without one, the bytes collected last (what the
        // caller's CRC check reports on) or else the last answer let go.
        QByteArray bytes;
        bool taken = false; // bytes is a complete answer the judge took
        bool remembered = false; // ... equal to one handed out before
        int copiesLetGo = 0;
        int othersLetGo = 0;
    };
    // Sends the request and waits up to timeoutMs for its own answer: answers
    // the judge lets go do not end the wait, and once a copy was let go the own
    // answer gets at most copyWaitMs more (negative: the whole time-out). A
    // null judge takes the first complete answer, as transact does.
    Answer exchange(const QByteArray &request, bool crcHighFirst, int timeoutMs, const AnswerJudge &judge = {},
        int copyWaitMs = -1);
    // Whether the answer equals one handed out before in this session.
    bool isRemembered(const QByteArray &answer) const { return m_answers.contains(answer); }
    // Starts a new session of answers: what came before is no copy of what follows.
    void forgetAnswers() { m_answers.clear(); }

    LinkResult transact(const char *request, int length, QByteArray &response, bool crcHighFirst, int timeoutMs);
    LinkResult transact(const QByteArray &request, QByteArray &response, bool crcHighFirst, int timeoutMs)
    {
        return transact(request.constData(), request.size(), response, crcHighFirst, timeoutMs);
    }
    // The receiver is told a failure's brief text; the failure itself is returned.
    LinkFailure transactStream(const char *request, int length, DDataReceiver *receiver);
    LinkFailure transactStream(const QByteArray &request, DDataReceiver *receiver)
    {
        return transactStream(request.constData(), request.size(), receiver);
    }

    // After a repeated request was answered, the answer to the first one may
    // still be on its way and would pass for the answer to the next request:
    // drops what the instrument sends for up to windowMs, and stops early once
    // one complete answer was dropped.
    void discardLateAnswer(bool crcHighFirst, int windowMs = kLateAnswerWindowMs);

    // Finds the answer within collected bytes: its start or -1, and its length.
    using AnswerLocator = std::function<int(const QByteArray &buffer, int *length)>;
    struct TrafficExchange
    {
        LinkResult result = LinkOk;
        QByteArray response; // the answer; without one, the last bytes collected
        QByteArray trailing; // bytes received after the answer
    };
    // Like transact, on a line that carries other traffic before and after the
    // answer (the instrument's debug output): the whole exchange keeps within
    // timeoutMs however much arrives, and gives up once `stop` is set.
    TrafficExchange transactAmidTraffic(
        const QByteArray &request, int timeoutMs, const AnswerLocator &locate, const std::atomic<bool> *stop);

    // Listens without asking, for one pass: waits up to passMs for the
    // instrument's bytes, then hands each piece to onBytes as it comes, for
    // as long as the next one follows within gapMs. Stops early once *stop is set.
    void listen(const std::atomic<bool> *stop, const std::function<void(const QByteArray &bytes)> &onBytes,
        int passMs = 100, int gapMs = 50);

    bool sendRts() const { return m_sendRts; }
    bool sendDtr() const { return m_sendDtr; }
    bool isUdp() const { return m_udp; }
    quint8 deviceAddress() const { return m_deviceAddress; }
    QHostAddress hostAddress() const { return m_hostAddress; }
    quint16 port() const { return m_port; }
    // The serial port or UDP socket the last open made; null before.
    LinkTransport *transport() const;

private:
    struct Pending;
    // Judges the complete answers at the start of the pending bytes; true once one was taken.
    bool judgeCollected(Pending &pending);
    void remember(const QByteArray &answer);
    LinkFailure stream(const QByteArray &request, DDataReceiver *receiver);
    // The instrument's bytes that can be read now (a bounded number of pieces).
    QByteArray readAvailable();
    // Waits up to timeoutMs for the instrument's bytes; those of others do not end the wait.
    QByteArray receiveChunk(int timeoutMs);
    static bool stopRequested(const std::atomic<bool> *stop) { return stop && stop->load(); }

    bool m_sendRts = false;
    bool m_sendDtr = false;
    bool m_udp = false;
    quint8 m_deviceAddress = 255;
    QHostAddress m_hostAddress;
    quint16 m_port = 65535;
    QString m_errorText;
    QString m_targetText;
    std::unique_ptr<LinkTransport> m_transport;
    const std::atomic<bool> *m_stop = nullptr;
    QList<QByteArray> m_answers;
};
