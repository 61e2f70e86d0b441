#pragma once

#include "firmware/dencryptinfo.h"
#include "link/linkfailure.h"

#include <QString>
#include <QStringList>

// Exit statuses of vexa-cli; a fleet exits with the highest of its meters.
enum CliExit {
    CliOk = 0,
    CliUsage = 1,
    CliLinkError = 2,
    CliRefused = 3,
    CliFileError = 4,
    CliDiffers = 5, // diff: the meter and the file differ
};

// A meter of another model refused the package; anything else on the way to
// the meter is a link error.
inline CliExit cliExitStatus(const LinkFailure &failure)
{
    return failure.kind == LinkFailure::Kind::WrongModel ? CliRefused : CliLinkError;
}

// The status of a run that met both: every error outranks "they differ".
inline int worseExit(int a, int b)
{
    const auto rank = [](int exit) {
        return exit == CliOk ? 0 : exit == CliDiffers ? 1 : exit + 1;
    };
    return rank(a) >= rank(b) ? a : b;
}

// What one run was asked to do, once the arguments were understood.
struct CliOptions
{
    QString command;
    QStringList arguments; // the command's own positional arguments
    QString output; // -o: a file, or with several meters a folder
    QString pdf; // history --pdf
    QString chart; // history --chart
    bool fleet = false;
    bool json = false;
    bool dryRun = false;
    bool all = false;
    int seconds = 10; // monitor, search
    bool hex = false;
    bool both = false;
    bool noDebug = false;
    // monitor: bytes to send once the line is open (--send, --send-hex, --eol).
    QByteArray send;
    bool reconnect = false;
    int timeoutMs = 0; // --timeout: each answer's wait for the item commands; 0 keeps the usual
    bool allowEmpty = false; // set: an empty value for an item that has one
    bool trigger = false; // set: run a command item
    bool noBackup = false; // apply: no copy of the meter's values before writing
    DEncryptInfo package; // flash: read once, before any meter is served
    bool skipModelMismatch = false; // flash: a meter of another model is skipped, not failed
    int maxFailures = 0; // a fleet starts no new meter after this many failures; 0: no limit
};
