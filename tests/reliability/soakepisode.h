#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One value to write to one item.
struct SoakWrite
{
    int index = 0;
    QString value;
};

// One operation of the program against the meter: a window operation through
// its session or worker in this process, or a command of vexa-cli as a child.
struct SoakOperation
{
    enum Kind {
        List, // ItemSession::readList
        Write, // ItemSession::writeItem
        Batch, // ItemSession::writeBatch
        Clock, // ItemSession::setClock
        Update, // UpdateThread
        History, // ReadThread
        CliItems,
        CliSet,
        CliApply,
        CliApplyDry,
        CliClock,
        CliFlash,
        CliHistory,
    };

    Kind kind = List;
    QList<SoakWrite> writes; // Write, Batch, CliSet; the file's changes for CliApply
    int imageBytes = 0; // Update, CliFlash

    bool isCli() const { return kind >= CliItems; }
    bool writesItems() const;
    bool readsList() const;
    bool setsClock() const { return kind == Clock || kind == CliClock; }
    bool flashes() const { return kind == Update || kind == CliFlash; }
    bool readsHistory() const { return kind == History || kind == CliHistory; }
    QString name() const; // "list", "cli set" ...
    QString text() const; // "cli set 5=19200 9=10.0.0.9", long values shortened
};

// Operations under one chaos seed on one line, starting from a fresh meter.
struct SoakEpisode
{
    quint64 seed = 0;
    bool udp = true;
    QString chaos; // SimChaos text: the seed, then the lane's rates and any scripted steps
    QList<SoakOperation> operations;

    QString text() const;
    // One random operation drawn from the seed; chaosKeys are appended to the
    // chaos text (", scale=0.5" ...).
    static SoakEpisode random(quint64 seed, bool udp, const QString &chaosKeys = QString());
    // The n-th episode seed of a run.
    static quint64 seedOf(quint64 runSeed, int episode);
};

// The image the meter is to hold after a flash of that many bytes.
QByteArray soakImage(int bytes);
// The history asked for: the three whole days before today.
inline QDate soakHistoryFrom()
{
    return QDate::currentDate().addDays(-3);
}
inline QDate soakHistoryTo()
{
    return QDate::currentDate().addDays(-1);
}
// The text the meter sends for the history asked for.
QString soakHistoryTruth();
