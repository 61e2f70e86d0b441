#pragma once

#include "link/commsettings.h"
#include "link/linkfailure.h"

#include <QString>

class DEncryptInfo;
class Journal;
struct UpdateSteps;

// How an update, or the model check before one, ended.
struct FirmwareUpdateResult
{
    LinkFailure failure; // none: image in the meter, finish requests sent
    bool answeredAfter = false; // after a finished update the meter answered identification again
    bool modelMismatch = false; // refused before erase: the meter is of another model
    QString journalError; // why the journal did not take a line; empty when it did

    // A page was refused after the erase: the meter needs a new update.
    bool imageIncomplete() const { return failure.kind == LinkFailure::Kind::ImageIncomplete; }
    // "更新后设备已应答" or "更新后设备未应答" (context "UpdateThread").
    QString afterUpdateText() const;
};

// Reads and checks a package before any meter is asked: empty on success,
// otherwise the message. A package without image bytes is refused, as it
// would erase the meter for nothing. The package database is opened on the
// calling thread only; a fleet's meters share what was read.
QString readFirmwarePackage(const QString &path, DEncryptInfo *info);

// What to tell after a refused page: the meter is erased and needs a new update.
QString firmwareNeedsNewUpdateText();

// The journal's name and requested value of an update: "firmware" and the
// package's model and version.
QString firmwareJournalName();
QString firmwareJournalRequest(const DEncryptInfo &info);

// Every update, from the window, the meters panel or the command line: journals
// "firmware" started, runs the update on a channel of its own (on the calling
// thread), journals the result (ok or the failure's brief text), then (on
// success) identifies the meter once more.
FirmwareUpdateResult runFirmwareUpdate(
    const LinkSettings &link, const DEncryptInfo &info, Journal &journal, const UpdateSteps &steps);

// Identification (at most twice, as the update does) and then the finish
// requests; never erase or pages. Failure none when the meter is of the
// package's model; modelMismatch (the failure naming both models where it
// can) when it is of another.
FirmwareUpdateResult checkFirmwareModel(const LinkSettings &link, const DEncryptInfo &info);
