#include "cli/clitarget.h"

#include "cli/vexacli.h"
#include "fleet/meterlist.h"

QString readTargetsFile(const QString &path, QVector<CliTarget> *targets, QStringList *problems, bool *fileMissing)
{
    MeterList list;
    QString error;
    const MeterList::ReadStatus status = list.read(path, &error);
    *fileMissing = status == MeterList::Missing;
    if (status == MeterList::Missing)
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path);
    if (status == MeterList::Failed)
        return error;
    *problems = list.problems(path);
    for (const MeterEntry &entry : list.meters())
        targets->append({ entry.name, entry.link });
    if (targets->isEmpty())
        return VexaCli::tr("%1 中没有设备").arg(path);
    return {};
}
