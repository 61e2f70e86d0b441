#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the command line asks of the assistant before its window opens: a
// working directory (--workdir DIR, or --user-dir for the per-user data
// folder), or only --help / --version. Parsed before the application object
// exists, so the working directory is entered before anything resolves "."
// and help, version and errors need no display.
class LaunchOptions
{
    Q_DECLARE_TR_FUNCTIONS(LaunchOptions)

public:
    enum class Request { Start, Help, Version, Error };

    // arguments[0] is the program; the toolkit's own options (-platform,
    // -style, ...) are left for the application object and ignored here.
    static LaunchOptions parse(const QStringList &arguments);

    // The per-user data folder (~/.local/share/vexa-assistant).
    static QString userDir();

    Request request() const { return m_request; }
    // Help text, version line, or one line saying what was wrong.
    QString message() const { return m_message; }
    // Empty: stay in the directory the program was started in.
    QString workDir() const { return m_workDir; }

    // Makes workDir() the working directory, creating the per-user folder
    // when it is missing. Empty on success, otherwise the reason.
    QString enterWorkDir() const;
    // For the message box when that failed (the reason goes to stderr).
    QString workDirFailureText() const;

private:
    Request m_request = Request::Start;
    QString m_message;
    QString m_workDir;
    bool m_createWorkDir = false;
};
