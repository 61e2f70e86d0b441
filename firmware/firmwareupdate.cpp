#include "firmware/firmwareupdate.h"

#include "firmware/ddbserver.h"
#include "firmware/dencryptinfo.h"
#include "firmware/updatesession.h"
#include "items/journal.h"
#include "link/devicechannel.h"

#include <QCoreApplication>

namespace {

QString journalLine(Journal &journal, const LinkSettings &link, const DEncryptInfo &info, const QString &result)
{
    const JournalEntry entry = Journal::entryNow(link, QString(), QString(), -1, firmwareJournalName(), QString(),
        firmwareJournalRequest(info), QString(), result);
    return journal.append(entry) ? QString() : journal.errorText();
}

} // namespace

QString FirmwareUpdateResult::afterUpdateText() const
{
    return answeredAfter ? QCoreApplication::translate("UpdateThread", "更新后设备已应答")
                         : QCoreApplication::translate("UpdateThread", "更新后设备未应答");
}

QString readFirmwarePackage(const QString &path, DEncryptInfo *info)
{
    info->setFilePath(path);
    QString error;
    {
        DDbServer server(QString::fromLatin1(kPackageConnectionName));
        error = server.parseFile(*info);
    }
    return error.isEmpty() ? UpdateSession::packageFailure(*info).briefText() : error;
}

QString firmwareNeedsNewUpdateText()
{
    return QCoreApplication::translate("UpdateThread", "设备中的固件已被擦除，需要重新更新固件。");
}

QString firmwareJournalName()
{
    return QStringLiteral("firmware");
}

QString firmwareJournalRequest(const DEncryptInfo &info)
{
    return QStringLiteral("%1 %2").arg(info.model(), info.version()).trimmed();
}

FirmwareUpdateResult runFirmwareUpdate(
    const LinkSettings &link, const DEncryptInfo &info, Journal &journal, const UpdateSteps &steps)
{
    FirmwareUpdateResult result;
    result.journalError = journalLine(journal, link, info, QStringLiteral("started"));
    DeviceChannel channel;
    const UpdateSession session(channel);
    result.failure = session.update(link, info, steps);
    result.modelMismatch = result.failure.kind == LinkFailure::Kind::WrongModel;
    const QString ended
        = journalLine(journal, link, info, result.failure.failed() ? result.failure.briefText() : QStringLiteral("ok"));
    if (result.journalError.isEmpty())
        result.journalError = ended;
    if (!result.failure.failed())
        result.answeredAfter = session.answersAfterUpdate(info.model());
    return result;
}

FirmwareUpdateResult checkFirmwareModel(const LinkSettings &link, const DEncryptInfo &info)
{
    FirmwareUpdateResult result;
    DeviceChannel channel;
    result.failure = UpdateSession(channel).checkModel(link, info, UpdateSteps());
    result.modelMismatch = result.failure.kind == LinkFailure::Kind::WrongModel;
    return result;
}
