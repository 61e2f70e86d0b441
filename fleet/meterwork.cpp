#include "fleet/meterwork.h"

#include "base/filenames.h"
#include "fleet/fleettext.h"
#include "items/itembackup.h"
#include "items/itemcomparison.h"
#include "items/itemsession.h"
#include "items/journal.h"

#include <QFileInfo>

MeterWork::MeterWork(const LinkSettings &link, Journal &journal, const std::atomic_bool *stop)
    : m_link(link)
    , m_journal(journal)
    , m_stop(stop)
{
}

MeterWork::~MeterWork() = default;

namespace {

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

QString oneLineFailure(const LinkFailure &failure)
{
    return oneLine(failure.briefText());
}

bool MeterWork::open(MeterStepResult *result)
{
    if (m_channel)
        return true;
    auto channel = std::make_unique<DeviceChannel>();
    if (!channel->open(m_link)) {
        result->text = oneLineFailure(channel->openFailure());
        return false;
    }
    m_channel = std::move(channel);
    return true;
}

MeterStepResult MeterWork::readList()
{
    MeterStepResult result;
    if (!open(&result))
        return result;
    m_reading = MeterReading();
    const ItemSession session(*m_channel);
    const ItemListResult list = session.readList(
        [this](const ItemRecord &record) {
            m_reading.records << record;
            m_reading.identity.note(record);
        },
        m_stop, [this] { m_reading = MeterReading(); });
    result.answered = !m_reading.records.isEmpty();
    if (list.failure.failed()) {
        result.text = oneLineFailure(list.failure);
    } else if (list.stopped) {
        result.stopped = true;
        result.text = FleetText::tr("已停止");
    } else {
        result.ok = true;
        result.text = FleetText::tr("已读取 %1 项").arg(m_reading.records.size());
    }
    return result;
}

MeterStepResult MeterWork::saveList(const QString &path) const
{
    MeterStepResult result;
    // A meter named like one of the program's files does not take its place.
    if (isProgramFileName(QFileInfo(path).fileName())) {
        result.text = FleetText::tr("输出文件%1与程序自己的文件同名,不写入").arg(path);
        return result;
    }
    QVector<ItemRowText> rows;
    for (const ItemRecord &record : m_reading.records)
        rows << itemRowText(rows.size() + 1, record);
    result.text = exportItems(path, rows, OutputFile::Mode::CreateNew, OutputFile::Name::Program);
    result.ok = result.text.isEmpty();
    if (result.ok)
        result.text = FleetText::tr("已读取 %1 项").arg(rows.size());
    return result;
}

MeterApplyCheck MeterWork::check(const QVector<ItemRecord> &file) const
{
    const ItemComparison comparison(m_reading.records, file);
    MeterApplyCheck check;
    if (comparison.modelsDiffer()) {
        check.otherModel = true;
        check.text = FleetText::tr("型号不同，不写入: 设备为 %1，文件为 %2")
                         .arg(comparison.meterModel(), comparison.fileModel());
        return check;
    }
    check.differing = comparison.differing();
    check.writes = comparison.differingFileRecords();
    check.text = FleetText::tr("%1 项不同").arg(check.differing);
    return check;
}

MeterStepResult MeterWork::apply(const QVector<ItemRecord> &writes, const QString &workingFolder)
{
    MeterStepResult result;
    if (writes.isEmpty()) {
        result.ok = true;
        result.text = FleetText::tr("无需写入");
        return result;
    }
    // What the meter held goes to a backup before the first write, or nothing is written.
    QString backupName;
    QString error = ItemBackup::prepareFolder(workingFolder);
    if (error.isEmpty()) {
        const ItemBackup backup = ItemBackup::write(
            workingFolder, m_reading.identity.model, QDateTime::currentDateTime(), m_reading.records);
        error = backup.errorText();
        backupName = backup.fileName();
    }
    if (!error.isEmpty()) {
        result.text = oneLine(error);
        return result;
    }
    if (!open(&result))
        return result;
    QHash<int, QString> oldValues;
    for (const ItemRecord &record : qAsConst(m_reading.records))
        oldValues.insert(record.index, record.fields.value(1));
    QVector<ItemWriteRequest> plan;
    for (const ItemRecord &record : writes)
        plan << ItemWriteRequest { record.index, record.fields.value(0), record.fields.value(1) };

    const ItemSession session(*m_channel);
    int written = 0;
    int refused = 0;
    LinkFailure failure;
    WriteOutcome unconfirmed = WriteOutcome::Ok;
    session.writeBatch(
        plan, [](int) {},
        [&](int row, const ItemWriteResult &write) {
            const ItemWriteRequest &request = plan.at(row);
            journal(request.index, request.name, oldValues.value(request.index), request.value, write.answer.value(1),
                write.outcomeWord(), backupName);
            result.answered = result.answered || write.confirmed();
            if (!write.confirmed()) {
                unconfirmed = write.outcome;
                failure = write.failure;
                return false;
            }
            if (write.matches())
                ++written;
            else
                ++refused;
            return true;
        },
        m_stop);
    const int stoppedBefore = plan.size() - written - refused - (unconfirmed == WriteOutcome::Ok ? 0 : 1);
    if (unconfirmed != WriteOutcome::Ok) {
        result.text = oneLine(withOutcomeLine(failure.briefText(), unconfirmed));
    } else if (refused > 0) {
        result.text = FleetText::tr("已写入 %1 项，%2 项未被设备接受").arg(written).arg(refused);
    } else if (stoppedBefore > 0) {
        result.text = FleetText::tr("已写入 %1 项，已停止").arg(written);
    } else {
        result.ok = true;
        result.text = FleetText::tr("已写入 %1 项").arg(written);
    }
    return result;
}

MeterStepResult MeterWork::syncClock(const QDateTime &localTime)
{
    MeterStepResult result;
    if (!open(&result))
        return result;
    const ItemSession session(*m_channel);
    const ClockResult clock = session.setClock(localTime);
    const QString requested = ClockResult::timeText(localTime);
    journal(-1, QStringLiteral("clock"), QString(), requested, clock.answer, clock.outcomeWord());
    result.answered = clock.outcome != WriteOutcome::Unknown;
    result.ok = clock.acknowledged();
    if (clock.outcome == WriteOutcome::Unknown)
        result.text = oneLine(withOutcomeLine(clock.failure.briefText(), clock.outcome));
    else if (!result.ok)
        result.text = FleetText::tr("设备未接受时间: %1").arg(clock.answer);
    else
        result.text = FleetText::tr("时钟已设为%1").arg(requested);
    return result;
}

void MeterWork::journal(int index, const QString &name, const QString &oldValue, const QString &requested,
    const QString &answered, const QString &result, const QString &backup)
{
    JournalEntry entry = Journal::entryNow(m_link, m_reading.identity.model, m_reading.identity.deviceName, index, name,
        oldValue, requested, answered, result);
    entry.backup = backup;
    // A journal that cannot be written never holds up the meter's work.
    if (!m_journal.append(entry))
        m_journalError = m_journal.errorText();
}
