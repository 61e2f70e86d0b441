#pragma once

#include "link/frame.h"

#include <QMetaType>
#include <QString>

// What went wrong on the way to the meter, as a value. What follows from a
// failure (an exit status, whether the connection tried is told) is decided
// by its kind, never by its words; the text is made where it is shown.
struct LinkFailure
{
    enum class Kind {
        None,
        NotOpened, // the serial port did not open
        TimedOut, // the request did not go out in time, or no answer came
        SendFailed, // the request could not be handed to the line at all
        BadAnswer, // bytes came, but not a well-formed answer to this request
        WrongModel, // the meter is of another model than the package
        ImageIncomplete, // a page was not taken after the erase: the meter holds no whole image
        Other, // anything else the operation names in its message
    };

    Kind kind = Kind::None;
    QString message; // the first line: the system's own words for this failure
    QString target; // the connection tried (LinkSettings::targetText)
    QString reason; // what the operating system said, when it said something

    static LinkFailure of(Kind kind, const QString &message);

    bool failed() const { return kind != Kind::None; }
    // The message; for a port that did not open and for a time-out a second
    // line follows that names the target, the system's reason where known,
    // and what to check. What a window shows.
    QString text() const;
    // The message; only a port that did not open keeps the second line, for
    // the system's reason is known nowhere else. What the workers' text
    // signals and the command line say: whoever hears them knows the
    // connection.
    QString briefText() const;
    // The same failure told under the first line of an operation
    // ("写入错误,连接设备失败").
    LinkFailure saying(const QString &firstLine) const;
};

Q_DECLARE_METATYPE(LinkFailure)

// The kind of failure an exchange's result and bytes amount to: a time-out,
// a bad answer (linkErrorText finds fault with the bytes) or none.
LinkFailure::Kind linkFailureKind(LinkResult result, const QByteArray &response);
