#pragma once

#include "sim/simrequest.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A planned misbehaviour. Each rule watches the requests it matches; it lets
// the first `after` of them through untouched, then spoils the answers of the
// next `times` of them (times < 0: all of them from then on).
struct SimFault
{
    enum Kind {
        Silent, // no answer at all
        BadCrc, // CRC bytes flipped
        OtherAddress, // address byte replaced (by `value`, default address ^ 1), CRC valid
        OtherPort, // UDP: sent from another local port of the same host
        WrongLength, // length byte + 1, CRC valid
        Split, // each answer cut into `parts` pieces, `delayMs` apart
        Delay, // each answer sent `delayMs` later
        Truncate, // only the first `value` bytes of each answer
        Disappear, // the meter closes its pty / socket instead of answering
        Garbage, // `value` junk bytes sent in front of the answer
        Duplicate, // each answer sent twice, the copy `delayMs` after it
        Lost, // the request is lost on its way: the meter neither acts on it nor answers
    };
    enum Match { AnyRequest, ItemRead, ItemWrite, ClockWrite, AnyAddressFrame, AnyTildeFrame };

    Kind kind = Silent;
    Match match = AnyRequest;
    int index = -1; // address frames: only this item index (-1: any)
    int command = -1; // tilde frames: only this command (bytes 3..4, e.g. 0x2C01)
    int after = 0;
    int times = 1;
    int parts = 2;
    int delayMs = 50;
    int value = -1;

    bool matches(const SimRequest &request) const;

    // Text form, as on the command line: "KIND[,key=value...]", e.g.
    // "silent,match=read,index=3", "split,parts=3,delay=20", "bad-crc,after=2,times=all".
    // Keys: match=any|read|write|clock|address|tilde, index=N, command=HEX, after=N,
    // times=N|all, parts=N, delay=MS, value=N (truncate length, garbage length, other address).
    static SimFault parse(const QString &text, QString *error = nullptr);
    static QStringList kindNames();
    QString toString() const;
};

// One piece of output scheduled relative to the moment the request arrived.
struct SimOutput
{
    int delayMs = 0;
    QByteArray bytes;
    bool fromOtherPort = false;
};

// Applies the fault to the outputs a responder produced for `request`;
// `meterAddress` is the meter's own address.
QList<SimOutput> simApplyFault(const SimFault &fault, const QList<SimOutput> &outputs, quint8 meterAddress);
