#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

// Appends what the monitor receives to a file: each line as shown (UTF-8)
// or its bytes as received. Written through a buffer that is flushed at
// least once a second (on the next line, or by `flush` from a timer). The
// first failure closes the file and is reported once; later calls do nothing.
class MonitorRecorder
{
public:
    enum class Content { Shown, Raw };

    static constexpr int kFlushIntervalMs = 1000;

    ~MonitorRecorder();

    // "monitor_<yyyyMMdd-hhmmss>.log" in `folder`.
    static QString defaultFileName(const QString &folder, const QDateTime &now);

    // Opens the file for appending. False with errorText() when it cannot.
    bool start(const QString &fileName, Content content);
    // Flushes and closes; nothing happens when not recording.
    void stop();
    bool isRecording() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    QString errorText() const { return m_error; }

    Content content() const { return m_content; }
    void setContent(Content content) { m_content = content; }

    // One received line and the text shown for it. False (and closed) when
    // the file could not be written.
    bool record(const QByteArray &line, const QString &shownText);
    // Writes what is buffered. False (and closed) on failure.
    bool flush();

private:
    bool fail();

    QFile m_file;
    Content m_content = Content::Shown;
    QString m_error;
    QElapsedTimer m_sinceFlush;
    bool m_dirty = false;
};
