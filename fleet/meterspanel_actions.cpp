// The fleet actions of the meters panel: each runs on the fleet runner off
// the panel's thread, every meter's progress posted back to its row.

#include "base/backgroundjob.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/messageboxes.h"
#include "firmware/dencryptinfo.h"
#include "firmware/firmwareupdate.h"
#include "firmware/updatesession.h"
#include "fleet/meterspanel.h"
#include "fleet/meterwork.h"
#include "items/journal.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QSpinBox>

#include <algorithm>

namespace {

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

FleetOutcome outcomeOf(const MeterStepResult &result)
{
    if (result.stopped)
        return FleetOutcome::Skipped;
    return result.ok ? FleetOutcome::Done : FleetOutcome::Failed;
}

} // namespace

void MetersPanel::postStatus(BackgroundJob &job, const Target &target, const QString &text)
{
    job.post([this, key = target.name, text] { setStatus(key, text); });
}

void MetersPanel::postStatus(BackgroundJob &job, const Target &target, const MeterStepResult &result)
{
    const QString contact = result.answered ? nowText() : QString();
    job.post([this, key = target.name, text = result.text, contact] {
        if (!contact.isEmpty())
            m_state[key].lastContact = contact;
        setStatus(key, text);
    });
}

QVector<FleetOutcome> MetersPanel::runFleet(
    const QVector<Target> &targets, const QString &label, int maxFailures, const Job &job)
{
    QVector<LinkSettings> links;
    for (const Target &target : targets) {
        links << target.link;
        setStatus(target.name, tr("等待"));
    }
    BackgroundJob background(this);
    background.progress().setWindowTitle(windowTitle());
    background.progress().setLabelText(label);
    background.progress().setRange(0, targets.size());
    background.progress().setValue(0);
    FleetLimits limits;
    limits.parallel = m_parallel->value();
    limits.maxFailures = maxFailures;
    limits.stop = &background.stopFlag();
    std::atomic_int finished { 0 };
    QVector<FleetOutcome> outcomes;
    m_busy = true;
    m_summary->clear();
    background.run([&] {
        outcomes = FleetRunner::run(links, limits, [&](int index) {
            const FleetOutcome outcome = job(index, background);
            const int done = ++finished;
            background.post([&background, done] { background.progress().setValue(done); });
            return outcome;
        });
    });
    m_busy = false;
    for (int i = 0; i < outcomes.size(); ++i) {
        if (outcomes.at(i) == FleetOutcome::NotStarted)
            setStatus(targets.at(i).name, tr("未开始"));
    }
    m_cancelled = background.wasCancelled();
    fillTable();
    return outcomes;
}

void MetersPanel::postJournalError(BackgroundJob &job, const QString &error)
{
    if (!error.isEmpty())
        job.post([this, error] { m_journalWarning = error; });
}

void MetersPanel::showSummary(const QVector<FleetOutcome> &outcomes)
{
    if (!m_journalWarning.isEmpty() && !m_journalWarned) {
        m_journalWarned = true;
        showCriticalBox(m_journalWarning, this);
    }
    m_journalWarning.clear();
    const int done = int(std::count(outcomes.begin(), outcomes.end(), FleetOutcome::Done));
    const int failed = int(std::count(outcomes.begin(), outcomes.end(), FleetOutcome::Failed));
    m_summary->setText(
        tr("完成 %1 台，失败 %2 台，跳过 %3 台").arg(done).arg(failed).arg(outcomes.size() - done - failed));
}

void MetersPanel::slotReadItems()
{
    const QVector<Target> targets = targetsOrAsk();
    if (targets.isEmpty())
        return;
    const QString workingFolder = QDir::currentPath();
    const QString journalPath = QDir(workingFolder).filePath(QStringLiteral("journal.csv"));
    const QString proposed = QDir::current().filePath(
        QStringLiteral("readings/") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QDir().mkpath(proposed);
    const QString folder = askFolderIn(this, tr("选择保存配置的文件夹"), proposed);
    // The proposal goes again when it was not taken (only an empty folder is removed).
    if (QFileInfo(folder) != QFileInfo(proposed))
        QDir().rmdir(proposed);
    if (folder.isEmpty())
        return;
    if (!QDir().mkpath(folder)) {
        showCriticalBox(tr("无法创建文件夹: %1").arg(folder), this);
        return;
    }
    const QVector<FleetOutcome> outcomes
        = runFleet(targets, tr("正在读取配置…"), 0, [&](int index, BackgroundJob &job) {
              const Target &target = targets.at(index);
              postStatus(job, target, tr("正在读取…"));
              Journal journal(journalPath);
              MeterWork work(target.link, journal, &job.stopFlag());
              MeterStepResult result = work.readList();
              const MeterIdentity identity = work.reading().identity;
              job.post([this, key = target.name, identity] {
                  m_state[key].model = identity.model;
                  m_state[key].deviceName = identity.deviceName;
              });
              if (result.ok) {
                  result = work.saveList(QDir(folder).filePath(target.name + QLatin1String(".csv")));
                  result.answered = true;
              }
              postStatus(job, target, result);
              return outcomeOf(result);
          });
    showSummary(outcomes);
}

void MetersPanel::slotApplyFile()
{
    const QVector<Target> targets = targetsOrAsk();
    if (targets.isEmpty())
        return;
    const QString workingFolder = QDir::currentPath();
    const QString journalPath = QDir(workingFolder).filePath(QStringLiteral("journal.csv"));
    const QString path = askOpenFileName(this, tr("应用文件"), kItemFiles, tr("Files (*.csv)"));
    if (path.isEmpty())
        return;
    // With its identification rows: a file of another model is refused.
    const ItemImport import = importItems(path, IdentificationValues::Keep);
    if (!import.error.isEmpty()) {
        showCriticalBox(import.error, this);
        return;
    }
    QVector<MeterReading> readings(targets.size());
    QVector<MeterApplyCheck> checks(targets.size());
    QVector<FleetOutcome> outcomes = runFleet(targets, tr("正在比较…"), 0, [&](int index, BackgroundJob &job) {
        const Target &target = targets.at(index);
        postStatus(job, target, tr("正在读取…"));
        Journal journal(journalPath);
        MeterWork work(target.link, journal, &job.stopFlag());
        const MeterStepResult read = work.readList();
        if (!read.ok) {
            postStatus(job, target, read);
            return outcomeOf(read);
        }
        readings[index] = work.reading();
        checks[index] = work.check(import.records);
        postStatus(job, target, MeterStepResult { true, true, false, checks.at(index).text });
        return checks.at(index).otherModel ? FleetOutcome::Skipped : FleetOutcome::Done;
    });
    QVector<Target> writeTargets;
    QVector<int> writeIndex;
    QStringList lines;
    for (int i = 0; i < targets.size(); ++i) {
        if (outcomes.at(i) == FleetOutcome::Done && !checks.at(i).writes.isEmpty()) {
            writeTargets << targets.at(i);
            writeIndex << i;
            lines << targets.at(i).name + QLatin1String(": ") + checks.at(i).text;
        }
    }
    if (m_cancelled || writeTargets.isEmpty()) {
        showSummary(outcomes);
        return;
    }
    const QString question = tr("将文件%1中不同的项写入以下设备(写入前先备份各设备的配置):\n%2\n是否写入?")
                                 .arg(QFileInfo(path).fileName(), lines.join(QLatin1Char('\n')));
    if (!askQuestion(question, tr("写入"), tr("取消"), this)) {
        showSummary(outcomes);
        return;
    }
    const QVector<FleetOutcome> written
        = runFleet(writeTargets, tr("正在写入…"), 0, [&](int index, BackgroundJob &job) {
              const Target &target = writeTargets.at(index);
              const int meter = writeIndex.at(index);
              postStatus(job, target, tr("正在写入…"));
              Journal journal(journalPath);
              MeterWork work(target.link, journal, &job.stopFlag());
              work.setReading(readings.at(meter));
              const MeterStepResult result = work.apply(checks.at(meter).writes, workingFolder);
              postJournalError(job, work.journalError());
              postStatus(job, target, result);
              return result.ok ? FleetOutcome::Done : FleetOutcome::Failed;
          });
    for (int i = 0; i < written.size(); ++i)
        outcomes[writeIndex.at(i)] = written.at(i);
    showSummary(outcomes);
}

void MetersPanel::slotSyncTime()
{
    const QVector<Target> targets = targetsOrAsk();
    if (targets.isEmpty())
        return;
    const QString workingFolder = QDir::currentPath();
    const QString journalPath = QDir(workingFolder).filePath(QStringLiteral("journal.csv"));
    const QVector<FleetOutcome> outcomes
        = runFleet(targets, tr("正在同步时间…"), 0, [&](int index, BackgroundJob &job) {
              const Target &target = targets.at(index);
              postStatus(job, target, tr("正在同步时间…"));
              Journal journal(journalPath);
              MeterWork work(target.link, journal, &job.stopFlag());
              const MeterStepResult result = work.syncClock(QDateTime::currentDateTime());
              postJournalError(job, work.journalError());
              postStatus(job, target, result);
              return result.ok ? FleetOutcome::Done : FleetOutcome::Failed;
          });
    showSummary(outcomes);
}

void MetersPanel::slotFirmwareUpdate()
{
    const QVector<Target> targets = targetsOrAsk();
    if (targets.isEmpty())
        return;
    const QString path = askOpenFileNameIn(
        this, tr("更新固件"), QDir::current().absoluteFilePath(QStringLiteral("Files")), tr("Files (*.vexabin)"));
    if (path.isEmpty())
        return;
    DEncryptInfo info;
    const QString error = readFirmwarePackage(path, &info);
    if (!error.isEmpty()) {
        showCriticalBox(error, this);
        return;
    }
    const QString journalPath = QDir::current().filePath(QStringLiteral("journal.csv"));

    // Each meter named first: one of another model is left alone, never erased.
    QVector<FleetOutcome> outcomes = runFleet(targets, tr("正在识别设备…"), 0, [&](int index, BackgroundJob &job) {
        const Target &target = targets.at(index);
        postStatus(job, target, tr("正在识别设备…"));
        const FirmwareUpdateResult check = checkFirmwareModel(target.link, info);
        MeterStepResult result { !check.failure.failed(), !check.failure.failed() || check.modelMismatch, false,
            tr("型号相符") };
        if (check.modelMismatch)
            result.text = tr("跳过: %1").arg(oneLineFailure(check.failure));
        else if (check.failure.failed())
            result.text = oneLineFailure(check.failure);
        postStatus(job, target, result);
        return check.modelMismatch ? FleetOutcome::Skipped : outcomeOf(result);
    });
    QVector<Target> updateTargets;
    QVector<int> updateIndex;
    QStringList names;
    for (int i = 0; i < targets.size(); ++i) {
        if (outcomes.at(i) == FleetOutcome::Done) {
            updateTargets << targets.at(i);
            updateIndex << i;
            names << targets.at(i).name;
        }
    }
    if (m_cancelled || updateTargets.isEmpty()) {
        showSummary(outcomes);
        return;
    }
    const QString question = tr("确认把固件%1(型号 %2，版本 %3)烧写到以下 %4 台设备？\n%5")
                                 .arg(QFileInfo(path).fileName(), info.model(), info.version())
                                 .arg(updateTargets.size())
                                 .arg(names.join(QLatin1Char('\n')));
    if (!askQuestion(question, tr("烧写"), tr("取消"), this)) {
        showSummary(outcomes);
        return;
    }
    // Cancel lets every update under way end; no new one starts, nor after too many failures.
    const QVector<FleetOutcome> updated
        = runFleet(updateTargets, tr("正在更新固件…"), m_maxFailures->value(), [&](int index, BackgroundJob &job) {
              const Target &target = updateTargets.at(index);
              postStatus(job, target, tr("正在更新固件…"));
              UpdateSteps steps;
              steps.progress = [&](int percent) {
                  postStatus(job, target, tr("正在更新固件… %1%").arg(qBound(0, percent, 100)));
              };
              Journal journal(journalPath);
              const FirmwareUpdateResult update = runFirmwareUpdate(target.link, info, journal, steps);
              postJournalError(job, update.journalError);
              MeterStepResult result { !update.failure.failed(), true, false, QString() };
              if (!result.ok) {
                  result.text = oneLineFailure(update.failure);
                  if (update.imageIncomplete())
                      result.text += QLatin1Char(' ') + firmwareNeedsNewUpdateText();
              } else {
                  result.text = tr("已更新，%1").arg(update.afterUpdateText());
              }
              postStatus(job, target, result);
              return update.modelMismatch ? FleetOutcome::Skipped : outcomeOf(result);
          });
    for (int i = 0; i < updated.size(); ++i)
        outcomes[updateIndex.at(i)] = updated.at(i);
    showSummary(outcomes);
}
