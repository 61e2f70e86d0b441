#include "tests/reliability/soakprogram.h"

#include "firmware/dencryptinfo.h"
#include "firmware/packagewriter.h"
#include "firmware/updatethread.h"
#include "history/historyrequest.h"
#include "history/readthread.h"
#include "items/itemsession.h"
#include "link/devicechannel.h"
#include "sim/simrunner.h"
#include "tests/reliability/processprobe.h"
#include "tests/support/meterlink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

const char kModel[] = "VX-200";

// A journal cell as written: a guard quote before a leading = + - @ tab or CR goes.
QString journalCell(const QString &cell)
{
    static const QString kGuarded = QStringLiteral("=+-@\t\r");
    if (cell.size() > 1 && cell.at(0) == QLatin1Char('\'') && kGuarded.contains(cell.at(1)))
        return cell.mid(1);
    return cell;
}

SoakRow rowOf(const QJsonObject &object, const char *oldKey, const char *requestedKey)
{
    return SoakRow { object.value(QStringLiteral("index")).toInt(-1), object.value(QStringLiteral("name")).toString(),
        object.value(QLatin1String(oldKey)).toString(), object.value(QLatin1String(requestedKey)).toString(),
        object.value(QStringLiteral("answer")).toString(), object.value(QStringLiteral("result")).toString() };
}

} // namespace

SoakProgram::SoakProgram(const SimRunner &meter, bool udp, const QString &folder)
    : m_folder(folder)
{
    m_link = meterLink(meter, udp);
    m_link.serial.baudRate = 115200;
}

SoakSaid SoakProgram::run(const SoakOperation &operation, qint64 boundMs)
{
    if (operation.isCli())
        return runCli(operation, boundMs);
    if (operation.flashes() || operation.readsHistory())
        return runWorker(operation, boundMs);
    return runSession(operation, boundMs);
}

// The item operations as the window runs them: a channel of their own on a
// worker, the session's calls, the stop flag set once past the bound.
SoakSaid SoakProgram::runSession(const SoakOperation &operation, qint64 boundMs)
{
    SoakSaid said;
    std::atomic_bool stop { false };
    const QList<SimItem> items = SimProfile::demo().items;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QThread> worker(QThread::create([&] {
        DeviceChannel channel;
        channel.setStopFlag(&stop);
        if (!channel.open(m_link)) {
            said.error = channel.errorText();
            return;
        }
        const ItemSession session(channel);
        if (operation.kind == SoakOperation::List) {
            // A list read again from the start clears the rows, as the window's tree does.
            const ItemListResult list = session.readList(
                [&said](const ItemRecord &record) { said.list << record; }, &stop, [&said] { said.list.clear(); });
            said.listOk = !list.failure.failed() && !list.stopped;
            said.error = list.failure.message;
        } else if (operation.kind == SoakOperation::Clock) {
            said.clockTime = QDateTime::currentDateTime();
            const ClockResult result = session.setClock(said.clockTime);
            said.clock = result.outcomeWord();
            said.error = result.failure.message;
        } else {
            QVector<ItemWriteRequest> rows;
            for (const SoakWrite &write : operation.writes)
                rows << ItemWriteRequest { write.index, items.at(write.index).name, write.value };
            const auto report = [&](int row, const ItemWriteResult &result) {
                said.rows << SoakRow { rows.at(row).index, rows.at(row).name, items.at(rows.at(row).index).value,
                    rows.at(row).value, result.answer.value(1), result.outcomeWord() };
                return true;
            };
            if (operation.kind == SoakOperation::Write)
                report(0, session.writeItem(rows.at(0).index, rows.at(0).name, rows.at(0).value, 2));
            else
                session.writeBatch(rows, {}, report, &stop);
        }
    }));
    worker->start();
    if (!worker->wait(QDeadlineTimer(boundMs))) {
        said.failure = QStringLiteral("still running after its bound; stopped");
        stop = true;
        worker->wait();
    }
    said.elapsedMs = clock.elapsed();
    return said;
}

// The update and the history reader: their own threads, as in their dialogs.
SoakSaid SoakProgram::runWorker(const SoakOperation &operation, qint64 boundMs)
{
    SoakSaid said;
    QElapsedTimer clock;
    clock.start();
    if (operation.flashes()) {
        UpdateThread updater;
        DEncryptInfo info;
        info.setInfoMap(packageMap(QStringLiteral("Vexa 流量计"), QStringLiteral("V1.03"), QLatin1String(kModel),
            soakImage(operation.imageBytes)));
        updater.setInfo(info);
        updater.setLinkSettings(m_link);
        QObject::connect(
            &updater, &UpdateThread::signalUpdateSucceed, &updater, [&said] { said.flashed = true; },
            Qt::DirectConnection);
        QObject::connect(
            &updater, &UpdateThread::signalShowErrorMessage, &updater,
            [&said](const QString &error) { said.error = error; }, Qt::DirectConnection);
        updater.start();
        if (!updater.wait(QDeadlineTimer(boundMs))) {
            said.failure = QStringLiteral("still running after its bound");
            updater.wait(); // an update cannot be stopped
        }
    } else {
        ReadThread reader;
        reader.setLinkSettings(m_link);
        QObject::connect(
            &reader, &ReadThread::signalAddText, &reader, [&said](const QString &line) { said.historyText += line; },
            Qt::DirectConnection);
        QObject::connect(
            &reader, &ReadThread::signalShowError, &reader,
            [&said](const QString &, const QString &error) { said.error = error; }, Qt::DirectConnection);
        reader.startQuery(buildHistoryRequest(soakHistoryFrom(), soakHistoryTo()));
        if (!reader.wait(QDeadlineTimer(boundMs))) {
            said.failure = QStringLiteral("still running after its bound; stopped");
            reader.stop();
            reader.wait();
        }
        said.historyOk = said.error.isEmpty();
    }
    said.elapsedMs = clock.elapsed();
    return said;
}

QString SoakProgram::writeApplyFile(const SoakOperation &operation)
{
    QVector<ItemRowText> rows;
    const QList<SimItem> items = SimProfile::demo().items;
    for (int index = 0; index < items.size(); ++index) {
        ItemRecord record { index, { items.at(index).name } };
        if (!items.at(index).command)
            record.fields << items.at(index).value;
        for (const SoakWrite &write : operation.writes) {
            if (write.index == index)
                record.fields[1] = write.value;
        }
        rows << itemRowText(rows.size() + 1, record);
    }
    const QString path = QDir(m_folder).filePath(QStringLiteral("wanted-%1.csv").arg(++m_files));
    exportItems(path, rows);
    return path;
}

QString SoakProgram::writePackage(int imageBytes)
{
    const QString path = QDir(m_folder).filePath(QStringLiteral("VX-200_%1.vexabin").arg(++m_files));
    writePackageFile(
        path, QStringLiteral("Vexa 流量计"), QStringLiteral("V1.03"), QLatin1String(kModel), soakImage(imageBytes));
    return path;
}

QStringList SoakProgram::cliArguments(const SoakOperation &operation)
{
    QStringList arguments = m_link.useUdp
        ? QStringList { QStringLiteral("--udp"), QStringLiteral("127.0.0.1:") + QString::number(m_link.udp.port) }
        : QStringList { QStringLiteral("--serial"), m_link.serial.port, QStringLiteral("--baud"),
              QString::number(m_link.serial.baudRate) };
    arguments << QStringLiteral("--address") << QString::number(m_link.deviceAddress) << QStringLiteral("--json");
    switch (operation.kind) {
    case SoakOperation::CliItems:
        arguments << QStringLiteral("items");
        break;
    case SoakOperation::CliSet:
        arguments << QStringLiteral("set");
        for (const SoakWrite &write : operation.writes)
            arguments << QStringLiteral("%1=%2").arg(write.index).arg(write.value);
        break;
    case SoakOperation::CliApply:
    case SoakOperation::CliApplyDry:
        arguments << QStringLiteral("apply") << writeApplyFile(operation);
        if (operation.kind == SoakOperation::CliApplyDry)
            arguments << QStringLiteral("--dry-run");
        break;
    case SoakOperation::CliClock:
        arguments << QStringLiteral("clock");
        break;
    case SoakOperation::CliFlash:
        arguments << QStringLiteral("flash") << writePackage(operation.imageBytes);
        break;
    default:
        arguments << QStringLiteral("history") << soakHistoryFrom().toString(Qt::ISODate)
                  << soakHistoryTo().toString(Qt::ISODate);
        break;
    }
    return arguments;
}

SoakSaid SoakProgram::runCli(const SoakOperation &operation, qint64 boundMs)
{
    SoakSaid said;
    const QString journalPath = QDir(m_folder).filePath(QStringLiteral("journal.csv"));
    const qint64 journalBefore = QFileInfo(journalPath).size();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("zh_CN.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_MESSAGES"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder);
    const QStringList arguments = cliArguments(operation);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(VEXA_BIN_DIR "/vexa-cli"), arguments);
    if (!process.waitForStarted(10000)) {
        said.failure = QStringLiteral("vexa-cli did not start: ") + process.errorString();
        return said;
    }
    const qint64 pid = process.processId();
    while (!process.waitForFinished(20)) {
        said.peakRssKb = qMax(said.peakRssKb, peakRssKbOf(pid));
        if (clock.elapsed() > boundMs) {
            said.failure = QStringLiteral("killed: still running after its bound");
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    said.elapsedMs = clock.elapsed();
    said.err = QString::fromUtf8(process.readAllStandardError());
    const QByteArray out = process.readAllStandardOutput();
    if (said.failure.isEmpty() && process.exitStatus() != QProcess::NormalExit)
        said.failure = QStringLiteral("crashed: ") + said.err.right(400);
    said.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;

    QFile journal(journalPath);
    if (journal.open(QIODevice::ReadOnly) && journal.seek(journalBefore))
        said.journal = parseJournal(journal.readAll());

    const QJsonObject json = QJsonDocument::fromJson(out.left(out.indexOf('\n'))).object();
    if (json.isEmpty()) {
        if (said.failure.isEmpty())
            said.failure
                = QStringLiteral("no JSON line on stdout (exit %1): %2").arg(said.exit).arg(said.err.left(300));
        return said;
    }
    said.error = json.value(QStringLiteral("error")).toString();
    switch (operation.kind) {
    case SoakOperation::CliItems:
        for (const QJsonValue &value : json.value(QStringLiteral("items")).toArray()) {
            const QJsonObject item = value.toObject();
            ItemRecord record { item.value(QStringLiteral("index")).toInt(),
                { item.value(QStringLiteral("name")).toString() } };
            if (item.contains(QStringLiteral("value")))
                record.fields << item.value(QStringLiteral("value")).toString();
            said.list << record;
        }
        said.listOk = said.exit == 0;
        break;
    case SoakOperation::CliSet:
        said.hasRows = json.contains(QStringLiteral("writes"));
        for (const QJsonValue &value : json.value(QStringLiteral("writes")).toArray())
            said.rows << rowOf(value.toObject(), "old", "requested");
        break;
    case SoakOperation::CliApply:
    case SoakOperation::CliApplyDry:
        said.hasRows = json.contains(QStringLiteral("changes"));
        for (const QJsonValue &value : json.value(QStringLiteral("changes")).toArray())
            said.rows << rowOf(value.toObject(), "meter", "file");
        break;
    case SoakOperation::CliClock:
        for (const SoakRow &row : qAsConst(said.journal)) {
            said.clock = row.result;
            said.clockTime = QDateTime::fromString(row.requested, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        break;
    case SoakOperation::CliFlash:
        said.flashed = said.exit == 0 && json.value(QStringLiteral("ok")).toBool();
        break;
    default:
        said.historyOk = said.exit == 0;
        said.historyText = json.value(QStringLiteral("lines")).toString();
        break;
    }
    return said;
}

QList<SoakRow> parseJournal(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    QList<SoakRow> rows;
    for (const QStringList &record : qAsConst(records)) {
        if (record.size() < 11 || record.at(0) == QLatin1String("time"))
            continue;
        rows << SoakRow { record.at(5).isEmpty() ? -1 : record.at(5).toInt(), journalCell(record.at(6)),
            journalCell(record.at(7)), journalCell(record.at(8)), journalCell(record.at(9)),
            journalCell(record.at(10)) };
    }
    return rows;
}
