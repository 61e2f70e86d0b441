#include "cli/climeterjob.h"

#include "base/filenames.h"
#include "base/outputfile.h"
#include "cli/cliassignment.h"
#include "cli/clihelp.h"
#include "cli/clifailuretext.h"
#include "cli/clihistory.h"
#include "cli/clireport.h"
#include "cli/clioutput.h"
#include "cli/cliprogress.h"
#include "cli/cliservice.h"
#include "cli/vexacli.h"
#include "items/identificationrows.h"
#include "items/itembackup.h"
#include "items/itemcomparison.h"
#include "items/itemcsv.h"
#include "items/itemrowfilter.h"
#include "items/journal.h"
#include "link/devicechannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QMap>
#include <QScopeGuard>
#include <QSet>
#include <QRegularExpression>

namespace {

QString valueOf(const ItemRecord &record)
{
    return record.fields.value(1);
}

QJsonObject itemJson(const ItemRecord &record)
{
    QJsonObject item { { QStringLiteral("index"), record.index }, { QStringLiteral("name"), record.fields.value(0) } };
    if (record.fields.size() >= 2)
        item.insert(QStringLiteral("value"), record.fields.at(1));
    return item;
}

QString itemLine(int index, const QString &name, const QString &value)
{
    return QStringLiteral("%1. %2: %3\n").arg(index, 2, 10, QLatin1Char('0')).arg(shownValue(name), shownValue(value));
}

QString padded(const QString &text, int width)
{
    return text + QString(qMax(0, width - CliHelp::displayWidth(text)), QLatin1Char(' '));
}

// Both numbers of every item under titles that say which is which: the row
// the window shows (-- when SkipItems hides it) and the item index that
// files and `set` use. One row per item: a line break in a value shows as an
// escape, not as a row of its own.
QString itemTable(const QVector<ItemRecord> &records, const QVector<int> &shownRows)
{
    const QString rowTitle = VexaCli::tr("行号");
    const QString indexTitle = VexaCli::tr("配置项序号");
    const int rowWidth = qMax(3, CliHelp::displayWidth(rowTitle)) + 2;
    const int indexWidth = qMax(3, CliHelp::displayWidth(indexTitle)) + 2;
    QString table
        = padded(rowTitle, rowWidth) + padded(indexTitle, indexWidth) + VexaCli::tr("名称: 值") + QLatin1Char('\n');
    for (int i = 0; i < records.size(); ++i) {
        const ItemRecord &record = records.at(i);
        const QString row = shownRows.at(i) > 0 ? QStringLiteral("%1").arg(shownRows.at(i), 2, 10, QLatin1Char('0'))
                                                : QStringLiteral("--");
        QString item = shownValue(record.fields.value(0).trimmed());
        if (record.fields.size() >= 2)
            item += QLatin1String(": ") + shownValue(record.fields.at(1).trimmed());
        table += padded(row, rowWidth)
            + padded(QStringLiteral("%1").arg(record.index, 2, 10, QLatin1Char('0')), indexWidth) + item
            + QLatin1Char('\n');
    }
    return table;
}

// Rows of cells in columns as wide as their widest cell, two blanks apart.
QString columns(const QVector<QStringList> &rows)
{
    QVector<int> widths;
    for (const QStringList &row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths << 0;
            widths[i] = qMax(widths.at(i), CliHelp::displayWidth(row.at(i)));
        }
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (int i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? padded(row.at(i), widths.at(i) + 2) : row.at(i);
        text += line + QLatin1Char('\n');
    }
    return text;
}

} // namespace

CliMeterJob::CliMeterJob(const CliTarget &target, const CliOptions &options, Journal &journal, CliProgress *progress)
    : m_target(target)
    , m_options(options)
    , m_journal(journal)
    , m_progress(progress)
{
}

MeterReport CliMeterJob::run()
{
    m_report.name = m_target.name;
    m_report.json
        = QJsonObject { { QStringLiteral("meter"), m_target.name }, { QStringLiteral("command"), m_options.command } };
    DeviceChannel channel;
    // These open a channel of their own (the monitor on its own thread).
    if (m_options.command == QLatin1String("history")) {
        writeHistory();
        if (m_report.exit == CliOk && !m_options.chart.isEmpty())
            writeHistoryChart(m_target, m_options, m_report.json.value(QStringLiteral("lines")).toString(), &m_report);
    } else if (m_options.command == QLatin1String("report")) {
        runReport(m_target, m_options, &m_report);
    } else if (m_options.command == QLatin1String("flash")) {
        runFlash(m_target, m_options, m_journal, m_progress, &m_report);
    } else if (m_options.command == QLatin1String("monitor")) {
        runMonitor(m_target, m_options, &m_report);
    } else if (m_options.command == QLatin1String("search")) {
        runSearch(m_options, &m_report);
    } else if (!channel.open(m_target.link)) {
        fail(CliLinkError, told(channel.openFailure()));
    } else {
        ItemSession session(channel);
        session.setAnswerTimeoutMs(m_options.timeoutMs);
        if (m_options.command == QLatin1String("items"))
            readItems(session);
        else if (m_options.command == QLatin1String("set"))
            setItems(session);
        else if (m_options.command == QLatin1String("apply"))
            applyFile(session);
        else if (m_options.command == QLatin1String("diff"))
            diffFile(session);
        else if (m_options.command == QLatin1String("clock"))
            setClock(session);
    }
    m_report.json.insert(QStringLiteral("exit"), m_report.exit);
    m_report.json.insert(QStringLiteral("ok"), m_report.exit == CliOk);
    if (!m_report.error.isEmpty())
        m_report.json.insert(QStringLiteral("error"), m_report.error);
    return m_report;
}

void CliMeterJob::writeHistory()
{
    if (!m_options.fleet) {
        runHistory(m_target, m_options, &m_report);
        return;
    }
    // A fleet's lines go to NAME.csv in the folder (none with --json), named
    // and guarded as the items' files are.
    CliOptions options = m_options;
    if (!options.json) {
        const QString refused = checkOutputPath();
        if (!refused.isEmpty()) {
            fail(CliFileError, refused);
            return;
        }
        options.output = outputPath();
        m_report.json.insert(QStringLiteral("file"), options.output);
    }
    runHistory(m_target, options, &m_report);
}

QString CliMeterJob::told(const LinkFailure &failure) const
{
    return cliFailureText(failure, m_options.fleet);
}

void CliMeterJob::fail(int exit, const QString &error)
{
    m_report.exit = qMax(m_report.exit, exit);
    if (m_report.error.isEmpty())
        m_report.error = error;
}

void CliMeterJob::stop(int exit, const QString &error)
{
    m_report.exit = qMax(m_report.exit, exit);
    m_report.error = error;
}

bool CliMeterJob::report(const ItemWriteResult &write, int index, const QString &value)
{
    switch (write.outcome) {
    case WriteOutcome::Ok:
        return true;
    case WriteOutcome::Refused:
        fail(CliRefused, VexaCli::tr("设备未接受配置项%1的值: %2").arg(index).arg(value));
        return true;
    case WriteOutcome::Unknown:
        stop(CliLinkError, withOutcomeLine(told(write.failure), write.outcome));
        return false;
    case WriteOutcome::NotSent:
        break;
    }
    stop(CliUsage, write.failure.message);
    return false;
}

void CliMeterJob::identify(const ItemRecord &record)
{
    m_identity.note(record);
}

void CliMeterJob::journalWrite(int index, const QString &name, const QString &oldValue, const QString &requested,
    const QString &answered, const QString &result)
{
    JournalEntry entry = Journal::entryNow(
        m_target.link, m_identity.model, m_identity.deviceName, index, name, oldValue, requested, answered, result);
    entry.backup = m_backup;
    if (!m_journal.append(entry) && m_progress)
        m_progress->warnOnce(m_journal.errorText());
}

bool CliMeterJob::outputNamedByProgram() const
{
    return m_options.fleet || QFileInfo(m_options.output).isDir();
}

QString CliMeterJob::outputPath() const
{
    if (!outputNamedByProgram())
        return m_options.output;
    // The meter's name as one plain file name in the folder, whatever it is
    // (a port path, an address with its port).
    static const QRegularExpression kNotPlain(QStringLiteral("[^A-Za-z0-9_.-]"));
    QString name = m_target.name;
    name.replace(kNotPlain, QStringLiteral("_"));
    while (name.startsWith(QLatin1Char('.')))
        name[0] = QLatin1Char('_');
    return QDir(m_options.output.isEmpty() ? QStringLiteral(".") : m_options.output)
        .filePath(name + QLatin1String(".csv"));
}

QString CliMeterJob::checkOutputPath() const
{
    // A name the program made never takes one of its own files and never
    // replaces a file that was there before this run.
    const QString path = outputPath();
    const bool byProgram = outputNamedByProgram();
    if (byProgram && isProgramFileName(QFileInfo(path).fileName()))
        return VexaCli::tr("输出文件%1与程序自己的文件同名,不写入").arg(path);
    const QString refused = byProgram
        ? OutputFile::checkTarget(path, OutputFile::Mode::CreateNew, OutputFile::Name::Program)
        : OutputFile::checkTarget(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
    if (!refused.isEmpty())
        return QCoreApplication::translate("MainWindow", "打开文件失败: %1").arg(path) + QLatin1Char('\n') + refused;
    return QString();
}

void CliMeterJob::readItems(ItemSession &session)
{
    const bool toFile = !m_options.json && (!m_options.output.isEmpty() || m_options.fleet);
    const QString refused = toFile ? checkOutputPath() : QString();
    if (!refused.isEmpty()) {
        fail(CliFileError, refused);
        return;
    }
    QVector<ItemRecord> records;
    const ItemListResult list = readMeterList(session, &records);
    if (list.failure.failed()) {
        fail(CliLinkError, told(list.failure));
        return;
    }
    // The window's row numbers: its working directory's SkipItems hides rows.
    const QVector<int> shownRows = ItemRowFilter::rowNumbers(records, loadSkipFile(QStringLiteral("SkipItems")));
    QJsonArray items;
    QVector<ItemRowText> rows;
    for (int i = 0; i < records.size(); ++i) {
        rows << itemRowText(rows.size() + 1, records.at(i));
        QJsonObject item = itemJson(records.at(i));
        item.insert(QStringLiteral("row"), shownRows.at(i));
        items << item;
    }
    m_report.json.insert(QStringLiteral("items"), items);
    if (m_options.json)
        return;
    if (m_options.output.isEmpty() && !m_options.fleet) {
        m_report.out = itemTable(records, shownRows);
        return;
    }
    const QString path = outputPath();
    const QString error = outputNamedByProgram()
        ? exportItems(path, rows, OutputFile::Mode::CreateNew, OutputFile::Name::Program)
        : exportItems(path, rows);
    if (!error.isEmpty())
        fail(CliFileError, error);
    else
        m_report.json.insert(QStringLiteral("file"), path);
}

ItemListResult CliMeterJob::readMeterList(ItemSession &session, QVector<ItemRecord> *records)
{
    return session.readList(
        [&](const ItemRecord &record) {
            *records << record;
            identify(record);
            if (m_progress && !m_options.fleet)
                m_progress->step(m_target.name, VexaCli::tr("配置项"), records->size(), 0);
        },
        nullptr, [records] { records->clear(); });
}

bool CliMeterJob::resolveNames(ItemSession &session, QVector<CliAssignment> &assignments)
{
    QVector<ItemRecord> records;
    const ItemListResult list = readMeterList(session, &records);
    if (list.failure.failed()) {
        stop(CliLinkError, told(list.failure));
        return false;
    }
    QSet<int> seen;
    for (CliAssignment &assignment : assignments) {
        const QString error = assignment.byName() ? assignment.resolve(records) : QString();
        if (!error.isEmpty()) {
            stop(CliUsage, error);
            return false;
        }
        if (seen.contains(assignment.index)) {
            stop(CliUsage, VexaCli::tr("配置项%1重复出现").arg(assignment.index));
            return false;
        }
        seen.insert(assignment.index);
    }
    return true;
}

void CliMeterJob::setItems(ItemSession &session)
{
    // Checked before: INDEX=VALUE with an index 0..254, or NAME=VALUE.
    QVector<CliAssignment> assignments;
    bool byName = false;
    for (const QString &argument : qAsConst(m_options.arguments)) {
        assignments << CliAssignment::parse(argument);
        byName = byName || assignments.last().byName();
    }
    if (byName) {
        // Names are found in the meter's own list.
        if (!resolveNames(session, assignments))
            return;
    } else {
        for (int index = 0; index < 2; ++index) {
            const ItemReadResult read = session.readItem(index);
            if (read.failure.failed()) {
                stop(CliLinkError, told(read.failure));
                return;
            }
            identify(read.record);
        }
    }
    QJsonArray results;
    // What was written stays in the report, whatever ends the run.
    const auto keepWrites = qScopeGuard([&] { m_report.json.insert(QStringLiteral("writes"), results); });
    for (const CliAssignment &assignment : qAsConst(assignments)) {
        const int index = assignment.index;
        const QString &value = assignment.value;
        const ItemReadResult read = session.readItem(index);
        if (read.failure.failed()) {
            stop(CliLinkError, told(read.failure));
            return;
        }
        if (read.endOfList) {
            stop(CliRefused, VexaCli::tr("设备没有配置项%1").arg(index));
            return;
        }
        const QString name = read.record.fields.value(0);
        const int fields = read.record.fields.size() >= 2 ? 2 : 1;
        const QString refused = refusedAssignment(index, name, fields, value);
        if (!refused.isEmpty()) {
            stop(CliUsage, refused);
            return;
        }
        const ItemWriteResult write = session.writeItem(index, name, value, fields);
        const QString answered = write.answer.value(1);
        journalWrite(index, name, valueOf(read.record), value, answered, write.outcomeWord());
        results << QJsonObject { { QStringLiteral("index"), index }, { QStringLiteral("name"), name },
            { QStringLiteral("old"), valueOf(read.record) }, { QStringLiteral("requested"), value },
            { QStringLiteral("answer"), answered }, { QStringLiteral("result"), write.outcomeWord() } };
        if (!report(write, index, value))
            return;
        m_report.out += itemLine(index, name, answered).chopped(1);
        if (!write.matches())
            m_report.out += QLatin1String("  ") + VexaCli::tr("(设备未接受该值)");
        m_report.out += QLatin1Char('\n');
    }
}

QString CliMeterJob::refusedAssignment(int index, const QString &name, int fields, const QString &value) const
{
    // A command runs when it is written, and an empty value wipes one: both
    // only when asked for in so many words.
    if (fields == 1 && !value.isEmpty())
        return VexaCli::tr("配置项%1是命令,不带值: %2").arg(index).arg(name);
    if (fields == 1 && !m_options.trigger)
        return VexaCli::tr("配置项%1“%2”是命令,写入即执行;确要执行请加--trigger").arg(index).arg(name);
    if (fields == 2 && value.isEmpty() && !m_options.allowEmpty)
        return VexaCli::tr("配置项%1“%2”的值为空;确要写入空值请加--allow-empty").arg(index).arg(name);
    return {};
}

void CliMeterJob::applyFile(ItemSession &session)
{
    const ItemImport import = importItems(m_options.arguments.value(0));
    if (!import.error.isEmpty()) {
        fail(CliFileError, import.error);
        return;
    }
    // A backup that cannot be made stops the run before the meter is asked.
    const bool backup = !m_options.dryRun && !m_options.noBackup;
    const QString folderError = backup ? ItemBackup::prepareFolder(QDir::currentPath()) : QString();
    if (!folderError.isEmpty()) {
        fail(CliFileError, folderError);
        return;
    }
    QVector<ItemRecord> records;
    const ItemListResult list = readMeterList(session, &records);
    if (list.failure.failed()) {
        fail(CliLinkError, told(list.failure));
        return;
    }
    QMap<int, ItemRecord> meter;
    for (const ItemRecord &record : qAsConst(records))
        meter.insert(record.index, record);

    // The file must describe this meter: same item names at the same indices.
    QVector<ItemWriteRequest> plan;
    QStringList oldValues;
    QJsonArray changes;
    int unchanged = 0;
    for (const ItemRecord &record : import.records) {
        if (record.fields.size() < 2)
            continue;
        const ItemRecord current = meter.value(record.index);
        if (current.fields.value(0) != record.fields.at(0) || current.fields.size() < 2) {
            // Answers came twice while the list was read: the meter's rows
            // may be out of step, not the file's.
            if (list.repeated) {
                fail(CliLinkError,
                    VexaCli::tr("读取时收到重复的应答,配置项%1在设备中读到“%2”,与文件中的“%3”不符,请重新读取")
                        .arg(record.index)
                        .arg(current.fields.value(0), record.fields.at(0)));
                return;
            }
            fail(CliRefused,
                VexaCli::tr("文件与设备不符: 配置项%1在文件中为“%2”,在设备中为“%3”")
                    .arg(record.index)
                    .arg(record.fields.at(0), current.fields.value(0)));
            return;
        }
        const bool differs = valueOf(current) != record.fields.at(1);
        if (!differs && !m_options.all) {
            ++unchanged;
            continue;
        }
        plan << ItemWriteRequest { record.index, record.fields.at(0), record.fields.at(1) };
        oldValues << valueOf(current);
    }

    if (m_options.dryRun) {
        for (int i = 0; i < plan.size(); ++i) {
            const ItemWriteRequest &row = plan.at(i);
            m_report.out += QStringLiteral("%1. %2: %3 -> %4\n")
                                .arg(row.index, 2, 10, QLatin1Char('0'))
                                .arg(row.name, oldValues.at(i), row.value);
            changes << QJsonObject { { QStringLiteral("index"), row.index }, { QStringLiteral("name"), row.name },
                { QStringLiteral("meter"), oldValues.at(i) }, { QStringLiteral("file"), row.value } };
        }
        m_report.out += VexaCli::tr("将写入%1项,%2项相同", nullptr, int(plan.size())).arg(plan.size()).arg(unchanged)
            + QLatin1Char('\n');
        m_report.json.insert(QStringLiteral("changes"), changes);
        return;
    }

    if (backup && !plan.isEmpty() && !backUp(records))
        return;
    int refused = 0;
    session.writeBatch(
        plan,
        [&](int row) {
            if (m_progress && !m_options.fleet)
                m_progress->step(m_target.name, VexaCli::tr("写入"), row + 1, plan.size());
        },
        [&](int row, const ItemWriteResult &write) {
            const ItemWriteRequest &request = plan.at(row);
            const QString answered = write.answer.value(1);
            journalWrite(request.index, request.name, oldValues.at(row), request.value, answered, write.outcomeWord());
            changes << QJsonObject { { QStringLiteral("index"), request.index },
                { QStringLiteral("name"), request.name }, { QStringLiteral("meter"), oldValues.at(row) },
                { QStringLiteral("file"), request.value }, { QStringLiteral("answer"), answered },
                { QStringLiteral("result"), write.outcomeWord() } };
            if (!write.confirmed()) {
                report(write, request.index, request.value);
                return false;
            }
            m_report.out += QStringLiteral("%1. %2: %3 -> %4")
                                .arg(request.index, 2, 10, QLatin1Char('0'))
                                .arg(request.name, oldValues.at(row), answered);
            if (!write.matches()) {
                ++refused;
                m_report.out += QLatin1String("  ") + VexaCli::tr("(设备未接受该值)");
            }
            m_report.out += QLatin1Char('\n');
            return true;
        });
    if (refused > 0)
        fail(CliRefused, VexaCli::tr("设备未接受%1项的值", nullptr, refused).arg(refused));
    m_report.json.insert(QStringLiteral("changes"), changes);
}

bool CliMeterJob::backUp(const QVector<ItemRecord> &records)
{
    const ItemBackup backup
        = ItemBackup::write(QDir::currentPath(), m_identity.model, QDateTime::currentDateTime(), records);
    if (!backup.ok()) {
        fail(CliFileError, backup.errorText());
        return false;
    }
    m_backup = backup.fileName();
    m_report.json.insert(QStringLiteral("backup"), m_backup);
    return true;
}

void CliMeterJob::diffFile(ItemSession &session)
{
    // Checked before: the file parses. Its rows 0 and 1 keep their values.
    const ItemImport import = importItems(m_options.arguments.value(0), IdentificationValues::Keep);
    if (!import.error.isEmpty()) {
        fail(CliFileError, import.error);
        return;
    }
    QVector<ItemRecord> records;
    const ItemListResult list = readMeterList(session, &records);
    if (list.failure.failed()) {
        fail(CliLinkError, told(list.failure));
        return;
    }
    const ItemComparison comparison(records, import.records);
    QJsonArray differences;
    QVector<QStringList> table { ItemComparison::columnTitles() };
    for (const ItemComparisonRow &row : comparison.rows()) {
        if (!row.differs())
            continue;
        QJsonObject difference { { QStringLiteral("index"), row.index }, { QStringLiteral("name"), row.name },
            { QStringLiteral("meter"), row.meterValue }, { QStringLiteral("file"), row.fileValue },
            { QStringLiteral("result"), ItemComparison::resultWord(row.result) } };
        if (!row.fileName.isEmpty())
            difference.insert(QStringLiteral("file_name"), row.fileName);
        differences << difference;
        table << QStringList { QStringLiteral("%1").arg(row.index, 2, 10, QLatin1Char('0')),
            shownValue(row.shownName()), shownValue(row.meterValue), shownValue(row.fileValue),
            ItemComparison::resultText(row.result) };
    }
    m_report.json.insert(QStringLiteral("differences"), differences);
    m_report.json.insert(QStringLiteral("differing"), comparison.differing());
    m_report.json.insert(QStringLiteral("same"), comparison.same());
    if (table.size() > 1)
        m_report.out = columns(table);
    m_report.out += comparison.summaryText() + QLatin1Char('\n');
    // Not an error: stdout says it all; a fleet's summary names the meter.
    if (!comparison.isEqual()) {
        m_report.exit = worseExit(m_report.exit, CliDiffers);
        if (m_options.fleet)
            m_report.error = comparison.summaryText();
    }
}

void CliMeterJob::setClock(ItemSession &session)
{
    const QDateTime now = QDateTime::currentDateTime();
    const ClockResult clock = session.setClock(now);
    const QString requested = ClockResult::timeText(now);
    journalWrite(-1, QStringLiteral("clock"), QString(), requested, clock.answer, clock.outcomeWord());
    m_report.json.insert(QStringLiteral("time"), requested);
    m_report.json.insert(QStringLiteral("result"), clock.outcomeWord());
    if (clock.outcome == WriteOutcome::Unknown) {
        fail(CliLinkError, withOutcomeLine(told(clock.failure), clock.outcome));
        return;
    }
    if (!clock.acknowledged()) {
        fail(CliRefused, QCoreApplication::translate("MainWindow", "同步时间失败"));
        return;
    }
    m_report.out += VexaCli::tr("时钟已设为%1").arg(requested) + QLatin1Char('\n');
}
