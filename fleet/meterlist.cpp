#include "fleet/meterlist.h"

#include "fleet/fleettext.h"
#include "fleet/targeturi.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

bool isPlainName(const QString &name)
{
    static const QRegularExpression kPlainName(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]{0,63}$"));
    return kPlainName.match(name).hasMatch();
}

} // namespace

MeterList::ReadStatus MeterList::read(const QString &path, QString *error)
{
    m_entries.clear();
    QFile file(path);
    if (!file.exists())
        return Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = FleetText::tr("打开文件失败: %1").arg(path);
        return Failed;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = FleetText::tr("%1 太大, 不是设备列表").arg(path);
        return Failed;
    }
    parse(file.read(kMaxFileBytes));
    return Read;
}

void MeterList::parse(const QByteArray &bytes)
{
    m_entries.clear();
    QByteArray content = bytes;
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    const QList<QByteArray> lines = content.split('\n');
    int meters = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the end of the last line
        if (line.endsWith('\r'))
            line.chop(1);
        m_entries.append(readLine(i + 1, line, meters));
        if (m_entries.constLast().kind == MeterEntry::Meter)
            ++meters;
    }
}

MeterEntry MeterList::readLine(int lineNumber, const QByteArray &bytes, int meters) const
{
    MeterEntry entry;
    entry.line = lineNumber;
    entry.raw = bytes;
    entry.text = QString::fromUtf8(bytes);
    const QString line = entry.text.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
        entry.kind = MeterEntry::Comment;
        return entry;
    }
    entry.kind = MeterEntry::Unreadable;
    if (bytes.size() > kMaxLineBytes) {
        entry.problem = FleetText::tr("一行不能超过%1字节").arg(kMaxLineBytes);
        return entry;
    }
    if (meters >= kMaxMeters) {
        entry.problem = FleetText::tr("最多%1台设备").arg(kMaxMeters);
        return entry;
    }
    const int comma = line.indexOf(QLatin1Char(','));
    entry.name = line.left(comma).trimmed();
    entry.problem = comma < 0 ? FleetText::tr("一行应为 NAME,URI") : nameProblem(entry.name);
    if (entry.problem.isEmpty())
        entry.problem = parseTargetUri(line.mid(comma + 1).trimmed(), &entry.link);
    if (entry.problem.isEmpty())
        entry.kind = MeterEntry::Meter;
    return entry;
}

QVector<MeterEntry> MeterList::meters() const
{
    QVector<MeterEntry> found;
    for (const MeterEntry &entry : m_entries) {
        if (entry.kind == MeterEntry::Meter)
            found.append(entry);
    }
    return found;
}

QStringList MeterList::problems(const QString &path) const
{
    QStringList lines;
    for (const MeterEntry &entry : m_entries) {
        if (entry.kind == MeterEntry::Unreadable)
            lines << FleetText::tr("%1 第%2行: %3").arg(path).arg(entry.line).arg(entry.problem);
    }
    return lines;
}

int MeterList::indexOf(const QString &name) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).kind == MeterEntry::Meter && m_entries.at(i).name == name)
            return i;
    }
    return -1;
}

QString MeterList::nameProblem(const QString &name) const
{
    if (!isPlainName(name))
        return FleetText::tr("名称应为字母、数字、点、横线或下划线");
    if (indexOf(name) >= 0)
        return FleetText::tr("名称%1重复出现").arg(name);
    return {};
}

bool MeterList::add(const QString &name, const LinkSettings &link, QString *problem)
{
    QString why = nameProblem(name);
    if (why.isEmpty() && meters().size() >= kMaxMeters)
        why = FleetText::tr("最多%1台设备").arg(kMaxMeters);
    if (!why.isEmpty()) {
        if (problem)
            *problem = why;
        return false;
    }
    MeterEntry entry;
    entry.name = name;
    entry.link = link;
    entry.text = name + QLatin1Char(',') + targetUri(link);
    entry.raw = entry.text.toUtf8();
    m_entries.append(entry);
    return true;
}

void MeterList::removeAt(int entryIndex)
{
    if (entryIndex >= 0 && entryIndex < m_entries.size())
        m_entries.remove(entryIndex);
}

QByteArray MeterList::toBytes() const
{
    QByteArray bytes;
    for (const MeterEntry &entry : m_entries)
        bytes += entry.raw + '\n';
    return bytes;
}

bool MeterList::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(toBytes()) >= 0 && file.commit())
        return true;
    if (error)
        *error = FleetText::tr("保存文件失败: %1").arg(path);
    return false;
}
