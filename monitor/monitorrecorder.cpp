#include "monitor/monitorrecorder.h"

#include <QDir>

MonitorRecorder::~MonitorRecorder()
{
    stop();
}

QString MonitorRecorder::defaultFileName(const QString &folder, const QDateTime &now)
{
    return QDir(folder).filePath(QStringLiteral("monitor_%1.log").arg(now.toString(QStringLiteral("yyyyMMdd-hhmmss"))));
}

bool MonitorRecorder::start(const QString &fileName, Content content, OutputFile::Name name)
{
    stop();
    m_error.clear();
    m_content = content;
    m_fileName = fileName;
    m_buffer.clear();
    m_atLineStart = true;
    if (!m_file.open(fileName, OutputFile::Mode::Append, name)) {
        m_error = m_file.errorText();
        return false;
    }
    m_sinceFlush.start();
    return true;
}

void MonitorRecorder::stop()
{
    if (!m_file.isOpen())
        return;
    if (flush())
        m_file.close();
}

bool MonitorRecorder::record(const QByteArray &line, const QString &shownText)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray bytes = m_content == Content::Raw ? line : shownText.toUtf8();
    m_buffer += bytes;
    if (!bytes.isEmpty())
        m_atLineStart = bytes.endsWith('\n');
    return flushIfDue();
}

bool MonitorRecorder::note(const QString &text)
{
    if (!m_file.isOpen())
        return false;
    if (!m_atLineStart)
        m_buffer += '\n';
    m_buffer += text.toUtf8();
    if (!text.isEmpty())
        m_atLineStart = text.endsWith(QLatin1Char('\n'));
    return flushIfDue();
}

bool MonitorRecorder::flushIfDue()
{
    if (m_sinceFlush.elapsed() >= kFlushIntervalMs || m_buffer.size() >= kBufferBytes)
        return flush();
    return true;
}

bool MonitorRecorder::flush()
{
    if (!m_file.isOpen())
        return false;
    m_sinceFlush.restart();
    if (m_buffer.isEmpty())
        return true;
    const QByteArray bytes = m_buffer;
    m_buffer.clear();
    if (!m_file.write(bytes))
        return fail();
    return true;
}

bool MonitorRecorder::fail()
{
    // The file is closed already; what is still buffered cannot go anywhere.
    m_error = m_file.errorText();
    m_buffer.clear();
    return false;
}
