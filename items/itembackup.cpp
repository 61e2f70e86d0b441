#include "items/itembackup.h"

#include "base/filenames.h"
#include "base/outputfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

// Some thousands of batches within one second would be no batches.
constexpr int kMaxSuffix = 1000;

bool nameTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString suffixed(const QString &fileName, int number)
{
    if (number < 2)
        return fileName;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return fileName.left(dot) + QStringLiteral("-%1").arg(number) + fileName.mid(dot);
}

QString failure(const QString &path, const QString &reason)
{
    return ItemBackup::tr("无法保存写入前的备份%1,未写入任何配置项").arg(path) + QLatin1Char('\n') + reason;
}

} // namespace

QString ItemBackup::prepareFolder(const QString &workingFolder)
{
    const QString folder = QDir(workingFolder).filePath(QLatin1String(kFolder));
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) == 0 || (errno == EEXIST && QFileInfo(folder).isDir()))
        return {};
    const int error = errno == EEXIST ? ENOTDIR : errno;
    return tr("无法创建备份文件夹%1,未写入任何配置项").arg(folder) + QLatin1Char('\n') + qt_error_string(error);
}

ItemBackup ItemBackup::write(
    const QString &workingFolder, const QString &model, const QDateTime &when, const QVector<ItemRecord> &records)
{
    ItemBackup backup;
    backup.m_error = prepareFolder(workingFolder);
    if (!backup.m_error.isEmpty())
        return backup;
    QVector<ItemRowText> rows;
    rows.reserve(records.size());
    for (const ItemRecord &record : records) {
        ItemRowText row = itemRowText(rows.size() + 1, record);
        // Written as it would come back, the value would be another one.
        if (!itemLineComesBack(row))
            row.column1.clear();
        rows << row;
    }
    const QString base = itemsFileName(model, when);
    const QDir folder(QDir(workingFolder).filePath(QLatin1String(kFolder)));
    const QByteArray bytes = itemFileBytes(rows);
    for (int number = 1; number <= kMaxSuffix; ++number) {
        const QString name = suffixed(base, number);
        const QString path = folder.filePath(name);
        if (nameTaken(path))
            continue;
        OutputFile file;
        if (!file.open(path, OutputFile::Mode::CreateNew, OutputFile::Name::Program)) {
            // Another batch took the name in between (a fleet): the next one.
            if (nameTaken(path))
                continue;
            backup.m_error = failure(path, file.errorText());
            return backup;
        }
        if (!file.write(bytes) || !file.close()) {
            backup.m_error = failure(path, file.errorText());
            // A file begun but not finished is no backup.
            QFile::remove(path);
            return backup;
        }
        backup.m_fileName = QLatin1String(kFolder) + QLatin1Char('/') + name;
        backup.m_path = path;
        return backup;
    }
    backup.m_error = failure(folder.filePath(base), tr("备份文件夹中已有太多同名文件"));
    return backup;
}

QString ItemBackup::newest(const QString &workingFolder)
{
    const QDir folder(QDir(workingFolder).filePath(QLatin1String(kFolder)));
    const QFileInfoList files
        = folder.entryInfoList({ QStringLiteral("*.csv") }, QDir::Files | QDir::NoDotAndDotDot, QDir::Time);
    return files.isEmpty() ? QString() : files.first().filePath();
}

QVector<ReviewRow> ItemBackup::restoreRows(const QVector<ItemRecord> &backup, const KnownMeterValues &known)
{
    QVector<ItemWriteRequest> requests;
    QVector<bool> valueSaved;
    for (const ItemRecord &record : backup) {
        if (!KnownMeterValues::isIdentificationIndex(record.index)
            && (record.fields.size() >= 2 || known.hasValue(record.index))) {
            requests << ItemWriteRequest { record.index, record.fields.value(0), record.fields.value(1) };
            valueSaved << (record.fields.size() >= 2);
        }
    }
    QVector<ReviewRow> rows = buildReviewRows(requests, known);
    for (int i = 0; i < rows.size(); ++i) {
        ReviewRow &row = rows[i];
        QString problem;
        if (!valueSaved.at(i))
            problem = tr("备份中没有该项的值: 它含有逗号或换行,备份文件无法保存,不恢复");
        else if (known.contains(row.request.index)
            && known.entry(row.request.index).fields.value(0) != row.request.name)
            problem = tr("备份中的名称“%1”与设备中的“%2”不符,不恢复")
                          .arg(row.request.name, known.entry(row.request.index).fields.value(0));
        if (problem.isEmpty())
            continue;
        row.command = false;
        row.problem = problem;
        row.checked = false;
    }
    return rows;
}
