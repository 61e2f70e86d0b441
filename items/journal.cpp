#include "items/journal.h"

#include "base/metertext.h"
#include "base/outputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

namespace {

// Several meters of a fleet finish at once; their lines must not interleave.
QMutex journalMutex;

} // namespace

Journal::Journal(const QString &path)
    : m_path(path)
{
}

QString Journal::field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

JournalEntry Journal::entryNow(const LinkSettings &link, const QString &model, const QString &deviceName, int index,
    const QString &name, const QString &oldValue, const QString &requested, const QString &answered,
    const QString &result)
{
    JournalEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.connection = link.describe();
    entry.deviceAddress = link.deviceAddress;
    entry.model = model;
    entry.deviceName = deviceName;
    entry.index = index;
    entry.name = name;
    entry.oldValue = oldValue;
    entry.requestedValue = requested;
    entry.answeredValue = answered;
    entry.result = result;
    return entry;
}

QString Journal::headerLineWithoutRow()
{
    return QStringLiteral("time,connection,address,model,device_name,index,name,old_value,requested_value,"
                          "answered_value,result");
}

QString Journal::headerLineWithoutBackup()
{
    // index is the meter's item index (as files and vexa-cli use it), row the
    // number the window showed beside the name.
    return headerLineWithoutRow() + QLatin1String(",row");
}

QString Journal::headerLine()
{
    return headerLineWithoutBackup() + QLatin1String(",backup");
}

QString Journal::meterCell(const QString &text)
{
    return spreadsheetSafe(withoutControlCharacters(text));
}

QString Journal::line(const JournalEntry &entry, int columns)
{
    const QDateTime local = entry.time.toLocalTime();
    // Offset always written out (also +00:00), so lines from machines in
    // other zones still compare.
    const int offset = local.offsetFromUtc();
    const QString time = local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(qAbs(offset) / 3600, 2, 10, QLatin1Char('0'))
              .arg(qAbs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
    QStringList fields { time, entry.connection, QString::number(entry.deviceAddress), meterCell(entry.model),
        meterCell(entry.deviceName), entry.index >= 0 ? QString::number(entry.index) : QString(), meterCell(entry.name),
        meterCell(entry.oldValue), meterCell(entry.requestedValue), meterCell(entry.answeredValue), entry.result };
    if (columns >= kColumnsWithoutBackup)
        fields << (entry.row > 0 ? QString::number(entry.row) : QString());
    if (columns >= kColumns)
        fields << entry.backup;
    QStringList quoted;
    for (const QString &text : fields)
        quoted << field(text);
    return quoted.join(QLatin1Char(','));
}

bool Journal::append(const JournalEntry &entry)
{
    QMutexLocker locker(&journalMutex);
    // The program names this file: a link, FIFO or device there is refused,
    // so a write that was sent is never held up by its journal line.
    OutputFile file;
    if (!file.open(m_path, OutputFile::Mode::Append, OutputFile::Name::Program)) {
        m_errorText = QCoreApplication::translate("Journal", "无法写入记录文件%1: %2").arg(m_path, file.errorText());
        return false;
    }
    QByteArray bytes;
    int columns = kColumns;
    if (file.size() == 0) {
        bytes = QByteArray("\xEF\xBB\xBF") + headerLine().toUtf8() + "\r\n";
    } else {
        QFile begun(m_path);
        const QByteArray header = begun.open(QIODevice::ReadOnly) ? begun.readLine(4096).trimmed() : QByteArray();
        if (header == QByteArray("\xEF\xBB\xBF") + headerLineWithoutRow().toUtf8())
            columns = kColumnsWithoutRow;
        else if (header == QByteArray("\xEF\xBB\xBF") + headerLineWithoutBackup().toUtf8())
            columns = kColumnsWithoutBackup;
    }
    bytes += line(entry, columns).toUtf8() + "\r\n";
    if (!file.write(bytes) || !file.close()) {
        m_errorText = QCoreApplication::translate("Journal", "无法写入记录文件%1: %2").arg(m_path, file.errorText());
        return false;
    }
    m_errorText.clear();
    return true;
}
