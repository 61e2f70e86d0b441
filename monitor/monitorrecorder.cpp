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

bool MonitorRecorder::start(const QString &fileName, Content content)
{
    stop();
    m_error.clear();
    m_content = content;
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = m_file.errorString();
        return false;
    }
    m_sinceFlush.start();
    m_dirty = false;
    return true;
}

void MonitorRecorder::stop()
{
    if (!m_file.isOpen())
        return;
    flush();
    m_file.close();
}

bool MonitorRecorder::record(const QByteArray &line, const QString &shownText)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray bytes = m_content == Content::Raw ? line : shownText.toUtf8();
    if (m_file.write(bytes) != bytes.size())
        return fail();
    m_dirty = true;
    if (m_sinceFlush.elapsed() >= kFlushIntervalMs)
        return flush();
    return true;
}

bool MonitorRecorder::flush()
{
    if (!m_file.isOpen())
        return false;
    m_sinceFlush.restart();
    if (!m_dirty)
        return true;
    m_dirty = false;
    if (!m_file.flush())
        return fail();
    return true;
}

bool MonitorRecorder::fail()
{
    m_error = m_file.errorString();
    // Whatever is still buffered cannot go anywhere either.
    m_file.close();
    return false;
}
