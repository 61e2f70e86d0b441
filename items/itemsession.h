#pragma once

#include "items/itemcsv.h"
#include "items/writeoutcome.h"
#include "link/devicechannel.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// What became of one item write.
struct ItemWriteResult
{
    WriteOutcome outcome = WriteOutcome::NotSent;
    // The value shown for the item holds the one requested (the status text's
    // test; a command always does).
    bool accepted = false;
    bool readBack = false; // the outcome comes from reading the item after the write
    LinkFailure failure; // why the outcome is unknown or nothing was sent
    QStringList answer; // Ok, Refused: the item as the meter now holds it, name[, value]

    // The meter answered for this item: it holds the value, or another one.
    bool confirmed() const { return outcome == WriteOutcome::Ok || outcome == WriteOutcome::Refused; }
    bool matches() const { return outcome == WriteOutcome::Ok; }
    QString outcomeWord() const { return writeOutcomeWord(outcome); }
};

// One row of a batch write.
struct ItemWriteRequest
{
    int index = 0;
    QString name; // the row's item name; the answer must carry the same one
    QString value;
};

struct ItemListResult
{
    LinkFailure failure; // none when the list ended or the read was stopped
    bool stopped = false;
    int count = 0;
    // An item was asked again, or the list read again, because an answer came
    // that had come before: what was read may still be out of step.
    bool repeated = false;
};

// The two answer-check texts are the refresh's own and stay untranslated
// there; elsewhere this gives them in the language shown. Other texts come
// back unchanged.
QString translatedAnswerCheck(const QString &error);

// One item read: the item, the end of the list, or a failure.
struct ItemReadResult
{
    LinkFailure failure; // none on success
    bool endOfList = false;
    bool stopped = false;
    bool repeated = false; // asked again: the first answer was one handed out before
    bool remembered = false; // the answer equals one handed out before
    ItemRecord record;
    QByteArray answer; // the answer as received
};

struct ClockResult
{
    WriteOutcome outcome = WriteOutcome::Unknown;
    LinkFailure failure; // why the outcome is unknown
    QString answer; // the meter's own answer: OK, or its refusal
    QByteArray frame;

    bool acknowledged() const { return outcome == WriteOutcome::Ok; }
    // As the journal records it: the time set, the answer, the outcome.
    static QString timeText(const QDateTime &localTime);
    QString outcomeWord() const { return writeOutcomeWord(outcome); }
};

// The item operations on an open channel, without any window: read the list,
// write one item or a batch, set the clock. Texts are the window's own
// (contexts "MainWindow" and "RefreshThread").
class ItemSession
{
public:
    static constexpr int kFirstReadTimeoutMs = 3000;
    static constexpr int kRetryReadTimeoutMs = 10000;
    static constexpr int kWriteTimeoutMs = 10000;
    // The index travels in one byte; the list never goes past it.
    static constexpr int kLastItemIndex = 255;

    explicit ItemSession(DeviceChannel &channel);

    DeviceChannel &channel() const { return m_channel; }

    // A slow link: every wait for an answer (a read, its repetition, a
    // write, the clock) takes up to ms instead of the times above; 0 keeps them.
    void setAnswerTimeoutMs(int ms) { m_answerTimeoutMs = ms; }

    // Reads item 0, 1, 2 ... until the end answer, a failure or *stop; a failed
    // item is asked once more with a longer time-out. Each item goes to onItem
    // as soon as it has arrived. A list in which two items answered the very
    // same bytes is read once more from the start (after onRestart), and is a
    // failure the second time. For a stop inside the waits, give the channel
    // the same flag (DeviceChannel::setStopFlag).
    ItemListResult readList(const std::function<void(const ItemRecord &)> &onItem,
        const std::atomic_bool *stop = nullptr, const std::function<void()> &onRestart = {}) const;

    // Asks for one item; a failed request is repeated once with a longer
    // time-out, unless *stop is set by then. When the repetition answers after
    // a time-out, the first attempt's late answer is let go by. An answer that
    // was handed out before in this session is let go and the item asked
    // again, once. An answer naming an item this session read at another
    // index is another request's (names are unique within a meter): let go
    // while the item's own answer may still come.
    ItemReadResult readItem(int index, const std::atomic_bool *stop = nullptr) const;

    // expectedFields is 2 for an item with a value, 1 for a command item. An
    // empty expectedName skips the name check (the caller knows no name).
    // Only the item's own answer counts: copies of earlier answers and answers
    // for other items are let go. Without an own answer, the item is read
    // back once (values only) to decide; otherwise the outcome is unknown.
    ItemWriteResult writeItem(int index, const QString &expectedName, const QString &value, int expectedFields) const;

    // Writes the rows in order and stops at the first one whose write is not
    // confirmed, or when onResult returns false, or at *stop (also when set by
    // onStart, before that row is sent). Returns the
    // number of rows confirmed.
    int writeBatch(const QVector<ItemWriteRequest> &rows, const std::function<void(int row)> &onStart,
        const std::function<bool(int row, const ItemWriteResult &result)> &onResult,
        const std::atomic_bool *stop = nullptr) const;

    // Only the clock's own answers decide: the acknowledgement, or a two-byte
    // refusal of this meter; anything else is let go.
    ClockResult setClock(const QDateTime &localTime) const;

private:
    // One item read with its repeat after a failure, and what came.
    ItemReadResult askItem(int index, const std::atomic_bool *stop) const;
    // One read request of the item, judged by the names read so far.
    DeviceChannel::Answer exchangeRead(int index, int timeoutMs) const;
    ItemReadResult readResult(int index, const DeviceChannel::Answer &answer, const std::atomic_bool *stop) const;
    // After a write without an own answer: reads the item to see what it holds.
    void readBack(int index, const QString &expectedName, const QString &value, ItemWriteResult &write) const;
    // Why no own answer decided: the link's failure, or answers that were not it.
    LinkFailure unknownReason(const DeviceChannel::Answer &answer, const QString &expectedName) const;

    int timeoutMs(int usual) const { return m_answerTimeoutMs > 0 ? m_answerTimeoutMs : usual; }

    DeviceChannel &m_channel;
    int m_answerTimeoutMs = 0;
    // Where each item name was read in this session (the index of its row).
    mutable QHash<QString, int> m_indexOfName;
};
