#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// A file the program writes, opened safely. Only a regular file (or a new
// one) is written: a FIFO, device node, socket or folder at the name is
// refused by name before it is opened, so nothing blocks in open() and no
// device is touched or replaced. Where the program chose the name itself, a
// symbolic link at it is refused instead of followed. Every write is
// checked; errorText() then carries the system's reason.
class OutputFile
{
    Q_DECLARE_TR_FUNCTIONS(OutputFile)

public:
    enum class Mode {
        Replace, // an existing file is emptied first
        Append,
        CreateNew, // an existing file is refused, never overwritten
    };
    enum class Name {
        Chosen, // named by the user: a link to a regular file is written through
        Program, // named by the program: a link is refused
    };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool open(const QString &path, Mode mode, Name name);
    // All bytes or false.
    bool write(const QByteArray &bytes);
    // False when the system reported a failure on closing.
    bool close();

    bool isOpen() const { return m_fd >= 0; }
    // Bytes in the file now (for a header that only a new file gets).
    qint64 size() const;
    // One line: why the last open or write failed.
    QString errorText() const { return m_error; }

    // Empty when the path may be written under these rules: missing, or a
    // regular file (through a link only for a chosen name, and only when it
    // may be replaced). Otherwise the reason.
    static QString checkTarget(const QString &path, Mode mode, Name name);

private:
    bool fail(const QString &reason);

    int m_fd = -1;
    QString m_error;
};
