#pragma once

#include "items/itemcsv.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

class DeviceChannel;

// What the meter said to one item write.
struct ItemWriteResult
{
    // Failed: nothing confirmed (see error). Confirmed: the meter answered for
    // this very item; accepted tells whether it now holds the value.
    bool confirmed = false;
    bool accepted = false;
    // The value the meter answered is the one requested (both trimmed as the
    // tree shows them); a command always matches.
    bool matches = false;
    QString error;
    QStringList answer; // the item as the meter now holds it: name[, value]

    // As the journal and the command line report it: "ok", "refused" (the
    // meter kept another value) or the link error.
    QString outcome() const;
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
    QString error; // empty when the list ended or the read was stopped
    bool stopped = false;
    int count = 0;
};

// One item read: the item, the end of the list, or a failure.
struct ItemReadResult
{
    QString error; // empty on success
    bool endOfList = false;
    bool stopped = false;
    ItemRecord record;
    QByteArray answer; // the answer as received
};

struct ClockResult
{
    QString error; // link failure text, empty when the meter answered
    bool acknowledged = false;
    QByteArray frame;

    // As the journal records it: the time set, the answer, the outcome.
    static QString timeText(const QDateTime &localTime);
    QString answerText() const;
    QString outcome() const;
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

    // Reads item 0, 1, 2 ... until the end answer, a failure or *stop; a failed
    // item is asked once more with a longer time-out. Each item goes to onItem
    // as soon as it has arrived. For a stop inside the waits, give the channel
    // the same flag (DeviceChannel::setStopFlag).
    ItemListResult readList(
        const std::function<void(const ItemRecord &)> &onItem, const std::atomic_bool *stop = nullptr) const;

    // Asks for one item; a failed request is repeated once with a longer
    // time-out, unless *stop is set by then. When the repetition answers after
    // a time-out, the first attempt's late answer is let go by.
    ItemReadResult readItem(int index, const std::atomic_bool *stop = nullptr) const;

    // expectedFields is 2 for an item with a value, 1 for a command item. An
    // empty expectedName skips the name check (the caller knows no name).
    ItemWriteResult writeItem(int index, const QString &expectedName, const QString &value, int expectedFields) const;

    // Writes the rows in order and stops at the first one whose write is not
    // confirmed, or when onResult returns false, or at *stop (also when set by
    // onStart, before that row is sent). Returns the
    // number of rows confirmed.
    int writeBatch(const QVector<ItemWriteRequest> &rows, const std::function<void(int row)> &onStart,
        const std::function<bool(int row, const ItemWriteResult &result)> &onResult,
        const std::atomic_bool *stop = nullptr) const;

    ClockResult setClock(const QDateTime &localTime) const;

private:
    DeviceChannel &m_channel;
};
