#pragma once

#include "base/outputfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

// Appends what the monitor receives to a file: each line as shown (UTF-8)
// or its bytes as received. Written through a buffer that is flushed at
// least once a second (on the next line, or by `flush` from a timer). The
// first failure closes the file and is reported once; later calls do nothing.
// Only a regular file is recorded to (OutputFile): a FIFO there would hold
// the window in open() and end the program when its reader leaves.
class MonitorRecorder
{
public:
    enum class Content { Shown, Raw };

    static constexpr int kFlushIntervalMs = 1000;
    // A flood is written in pieces of this size, not kept for a second.
    static constexpr int kBufferBytes = 64 * 1024;

    ~MonitorRecorder();

    // "monitor_<yyyyMMdd-hhmmss>.log" in `folder`.
    static QString defaultFileName(const QString &folder, const QDateTime &now);

    // Opens the file for appending; a name the program chose (the default
    // one) is not followed through a symbolic link. False with errorText()
    // when it cannot.
    bool start(const QString &fileName, Content content, OutputFile::Name name = OutputFile::Name::Chosen);
    // Flushes and closes; nothing happens when not recording.
    void stop();
    bool isRecording() const { return m_file.isOpen(); }
    QString fileName() const { return m_fileName; }
    QString errorText() const { return m_error; }

    Content content() const { return m_content; }
    void setContent(Content content) { m_content = content; }

    // One received line and the text shown for it. False (and closed) when
    // the file could not be written.
    bool record(const QByteArray &line, const QString &shownText);
    // A line of the monitor's own (a sent line, a marker), as text in either
    // content, on a line of its own.
    bool note(const QString &text);
    // Writes what is buffered. False (and closed) on failure.
    bool flush();

private:
    bool fail();
    bool flushIfDue();

    OutputFile m_file;
    QString m_fileName;
    QByteArray m_buffer;
    Content m_content = Content::Shown;
    QString m_error;
    QElapsedTimer m_sinceFlush;
    bool m_atLineStart = true;
};
