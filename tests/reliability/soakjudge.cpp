#include "tests/reliability/soakjudge.h"

#include "sim/simframe.h"
#include "tests/reliability/processprobe.h"

#include <QSet>

const char kUnknownOutcomeLine[] = "结果未知：设备可能已接受该值，请重新读取确认";

QString SoakViolation::text() const
{
    return QStringLiteral("%1 at %2: program said %3; meter: %4").arg(kind, step, said, truth);
}

namespace {

QString shortText(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String(" / "));
    return text.size() > 70 ? text.left(60) + QStringLiteral("…(%1 chars)").arg(text.size()) : text;
}

// The meter can hold the value and answer it whole.
bool withinLimits(const SimItem &item, const QString &value)
{
    return simIsGb2312Proper(value) && simEncodeText(item.name + QLatin1Char(':') + value).size() <= 255;
}

QStringList itemFields(const SimItem &item)
{
    QStringList fields = item.text().split(QLatin1Char(':'));
    for (QString &field : fields)
        field = field.trimmed();
    return fields;
}

class Judge
{
public:
    explicit Judge(const SoakEvidence &evidence)
        : e(evidence)
        , op(evidence.operation)
        , said(evidence.said)
        , clean(evidence.after.chaos.isEmpty())
    {
        for (const SoakWrite &write : op.writes)
            m_beyondLimits = m_beyondLimits || !withinLimits(e.before.items.value(write.index), write.value);
    }

    QList<SoakViolation> run()
    {
        checkRun();
        checkStrayWrites();
        if (op.readsList())
            checkList();
        if (op.writesItems())
            checkWrites();
        if (op.setsClock())
            checkClock();
        if (op.flashes())
            checkFlash();
        if (op.readsHistory())
            checkHistory();
        return m_found;
    }

private:
    void add(const QString &kind, const QString &step, const QString &saidText, const QString &truth)
    {
        m_found << SoakViolation { kind, step, shortText(saidText), shortText(truth) };
    }

    bool sentWrite(int index) const
    {
        for (const SimRequest &request : e.sent) {
            if (request.isItemWrite() && request.index == index)
                return true;
        }
        return false;
    }

    bool sentClock() const
    {
        for (const SimRequest &request : e.sent) {
            if (request.isClockWrite())
                return true;
        }
        return false;
    }

    // The lie the meter told about this item's write, if any.
    QString lieAbout(int index) const
    {
        const QString request = QStringLiteral("write[%1]").arg(index);
        for (const SimChaosEvent &event : e.after.chaos) {
            for (const QString &action : event.actions) {
                if (event.request == request && action.startsWith(QLatin1String("answer-")))
                    return action;
            }
        }
        return {};
    }

    QString valueAfter(int index) const { return e.after.items.value(index).value; }

    void checkRun()
    {
        if (!said.failure.isEmpty())
            add(QStringLiteral("exit"), QStringLiteral("run"), said.failure, QStringLiteral("-"));
        if (said.elapsedMs > e.boundMs)
            add(QStringLiteral("over-bound"), QStringLiteral("operation"),
                QStringLiteral("took %1 s").arg(said.elapsedMs / 1000.0),
                QStringLiteral("bound %1 s").arg(e.boundMs / 1000.0));
        if (!op.isCli())
            return;
        for (const char *marker : { "runtime error:", "AddressSanitizer", "LeakSanitizer" }) {
            if (said.err.contains(QLatin1String(marker)))
                add(QStringLiteral("exit"), QStringLiteral("sanitizer"), said.err.right(300), QStringLiteral("-"));
        }
        // apply --dry-run refuses a file of another meter with 3; checkList judges that.
        const bool mayRefuse = op.kind == SoakOperation::CliSet || op.kind == SoakOperation::CliApply
            || op.kind == SoakOperation::CliApplyDry || op.kind == SoakOperation::CliClock;
        // A value the meter cannot hold may be refused as a bad argument.
        if (said.failure.isEmpty() && said.exit != 0 && said.exit != 2 && !(mayRefuse && said.exit == 3)
            && !(mayRefuse && m_beyondLimits && said.exit == 1))
            add(QStringLiteral("exit"), QStringLiteral("exit status"),
                QStringLiteral("%1: %2").arg(said.exit).arg(said.error),
                mayRefuse ? QStringLiteral("0, 2 or 3 expected") : QStringLiteral("0 or 2 expected"));
        if (kMemoryBoundsApply && said.peakRssKb > kCliPeakRssBoundKb)
            add(QStringLiteral("memory"), QStringLiteral("vexa-cli peak RSS"),
                QStringLiteral("%1 MiB").arg(said.peakRssKb / 1024),
                QStringLiteral("bound %1 MiB").arg(kCliPeakRssBoundKb / 1024));
    }

    void checkStrayWrites()
    {
        QSet<int> asked;
        for (const SoakWrite &write : op.writes)
            asked.insert(write.index);
        for (int i = 0; i < e.after.items.size() && i < e.before.items.size(); ++i) {
            if (!asked.contains(i) && e.after.items.at(i).text() != e.before.items.at(i).text())
                add(QStringLiteral("stray-write"), QStringLiteral("item %1").arg(i), QStringLiteral("nothing asked"),
                    QStringLiteral("\"%1\" became \"%2\"")
                        .arg(e.before.items.at(i).text(), e.after.items.at(i).text()));
        }
        if (e.after.commandsRun != e.before.commandsRun)
            add(QStringLiteral("stray-write"), QStringLiteral("commands"), QStringLiteral("nothing asked"),
                e.after.commandsRun.join(QLatin1Char(',')));
    }

    void checkList()
    {
        if (op.kind == SoakOperation::CliApply || op.kind == SoakOperation::CliApplyDry) {
            // The file was made from the meter's own items: a mismatch is the read's
            // (a file with a value the meter cannot hold may be refused whole).
            bool refused = false;
            for (const SoakRow &row : said.rows)
                refused = refused || row.result == QLatin1String("refused");
            if (said.exit == 3 && !refused && !m_beyondLimits)
                add(QStringLiteral("false-mismatch"), QStringLiteral("apply"), said.error,
                    QStringLiteral("the file names the meter's own items"));
            if (op.kind == SoakOperation::CliApplyDry)
                checkDryRun();
            return;
        }
        if (!said.listOk)
            return;
        const QList<SimItem> &items = e.after.items;
        for (int row = 0; row < qMax(items.size(), said.list.size()); ++row) {
            const ItemRecord record = said.list.value(row, ItemRecord { -1, {} });
            const QStringList truth = row < items.size() ? itemFields(items.at(row)) : QStringList();
            if (record.index != row || record.fields != truth) {
                add(QStringLiteral("wrong-row"), QStringLiteral("list row %1").arg(row),
                    QStringLiteral("%1: %2").arg(record.index).arg(record.fields.join(QLatin1Char(':'))),
                    truth.isEmpty() ? QStringLiteral("no such item") : truth.join(QLatin1Char(':')));
                return;
            }
        }
    }

    void checkDryRun()
    {
        if (said.exit != 0)
            return;
        QStringList wanted;
        QStringList told;
        for (const SoakWrite &write : op.writes) {
            const QString meter = e.before.items.at(write.index).value;
            if (!withinLimits(e.before.items.at(write.index), write.value))
                continue; // listed or not, as the program sees fit
            if (meter != write.value.trimmed())
                wanted << QStringLiteral("%1:%2->%3").arg(write.index).arg(meter, write.value.trimmed());
        }
        for (const SoakRow &row : said.rows) {
            if (withinLimits(e.before.items.value(row.index), row.requested))
                told << QStringLiteral("%1:%2->%3").arg(row.index).arg(row.old, row.requested);
        }
        wanted.sort();
        told.sort();
        if (wanted != told)
            add(QStringLiteral("wrong-row"), QStringLiteral("dry-run comparison"), told.join(QLatin1Char(' ')),
                wanted.join(QLatin1Char(' ')));
    }

    // ok: the meter holds the value; refused: it answered and does not;
    // unknown: sent, and the line was not clean; an error: nothing was sent.
    void judgeOutcome(int index, const QString &requested, const QString &result, const QString &step)
    {
        const bool sent = sentWrite(index);
        const bool holds = valueAfter(index).trimmed() == requested.trimmed();
        const QString lie = lieAbout(index);
        QString truth = QStringLiteral("holds \"%1\"").arg(valueAfter(index));
        if (!lie.isEmpty())
            truth += QStringLiteral(" (its answer lied: %1)").arg(lie);
        if (!sent)
            truth += QStringLiteral(", no write reached it");
        if (result == QLatin1String("ok")) {
            if (!holds && lie != QLatin1String("answer-without-applying"))
                add(QStringLiteral("false-ok"), step, result, truth);
        } else if (result == QLatin1String("refused")) {
            if (!sent || (holds && lie != QLatin1String("answer-then-apply")))
                add(QStringLiteral("false-refused"), step, result, truth);
        } else if (result == QLatin1String("unknown")) {
            if (!sent || clean)
                add(QStringLiteral("needless-unknown"), step, result,
                    clean ? truth + QStringLiteral(", clean line") : truth);
        } else if (sent) {
            add(QStringLiteral("error-after-send"), step, result, truth);
        }
    }

    void checkWrites()
    {
        const QList<SimItem> &items = e.before.items;
        for (const SoakWrite &write : op.writes) {
            if (!sentWrite(write.index))
                continue;
            if (!withinLimits(items.at(write.index), write.value))
                add(QStringLiteral("limits"), QStringLiteral("write of item %1").arg(write.index),
                    QStringLiteral("sent %1").arg(write.value),
                    QStringLiteral("cannot hold or answer it (GB2312 proper, name and value in 255 bytes)"));
        }
        QSet<int> reported;
        for (const SoakRow &row : said.rows) {
            reported.insert(row.index);
            if (op.kind != SoakOperation::CliApplyDry)
                judgeOutcome(row.index, row.requested, row.result, QStringLiteral("write of item %1").arg(row.index));
        }
        for (const SoakWrite &write : op.writes) {
            if (sentWrite(write.index) && !reported.contains(write.index))
                add(QStringLiteral("json"), QStringLiteral("write of item %1").arg(write.index),
                    op.isCli() ? QStringLiteral("no row in --json") : QStringLiteral("no result"),
                    QStringLiteral("the write reached the meter"));
        }
        if (!op.isCli())
            return;
        checkJournal(items);
        checkExit();
    }

    void checkJournal(const QList<SimItem> &items)
    {
        QSet<int> journaled;
        for (const SoakRow &line : said.journal) {
            journaled.insert(line.index);
            const QString step = QStringLiteral("journal line of item %1").arg(line.index);
            const SimItem item = items.value(line.index);
            if (line.name != item.name || line.old != item.value)
                add(QStringLiteral("journal"), step, QStringLiteral("%1, old \"%2\"").arg(line.name, line.old),
                    QStringLiteral("%1, old \"%2\"").arg(item.name, item.value));
            // The --json row was judged already; judge the line where it says something else.
            bool same = false;
            for (const SoakRow &row : said.rows)
                same = same || (row.index == line.index && row.result == line.result);
            if (!same)
                judgeOutcome(line.index, line.requested, line.result, step);
        }
        for (const SoakWrite &write : op.writes) {
            if (sentWrite(write.index) && !journaled.contains(write.index))
                add(QStringLiteral("journal"), QStringLiteral("write of item %1").arg(write.index),
                    QStringLiteral("no journal line"), QStringLiteral("the write reached the meter"));
        }
        if (!said.journal.isEmpty() && !said.hasRows && said.failure.isEmpty())
            add(QStringLiteral("json"), QStringLiteral("--json"), QStringLiteral("no writes/changes array"),
                QStringLiteral("%1 write(s) journaled").arg(said.journal.size()));
        else if (said.hasRows && said.journal.size() != said.rows.size())
            add(QStringLiteral("journal"), QStringLiteral("journal.csv"),
                QStringLiteral("%1 line(s) for %2 row(s) in --json").arg(said.journal.size()).arg(said.rows.size()),
                QStringLiteral("one line per write attempt"));
    }

    // 0 only when all went through, 3 for a refusal, 2 with the second line for unknown.
    void checkExit()
    {
        if (!said.failure.isEmpty())
            return;
        QStringList results;
        for (const SoakRow &row : said.rows)
            results << row.result;
        for (const SoakRow &row : said.journal)
            results << row.result;
        const bool allOk = results.count(QStringLiteral("ok")) == results.size();
        if (said.exit == 0 && (!allOk || (op.kind == SoakOperation::CliSet && said.rows.size() != op.writes.size())))
            add(QStringLiteral("exit"), QStringLiteral("exit status"), QStringLiteral("0"),
                QStringLiteral("results %1").arg(results.join(QLatin1Char(','))));
        if (results.contains(QStringLiteral("refused")) && said.exit != 3)
            add(QStringLiteral("exit"), QStringLiteral("exit status"), QString::number(said.exit),
                QStringLiteral("a write was refused: 3"));
        if (results.contains(QStringLiteral("unknown"))) {
            const QString unknownLine = QString::fromUtf8(kUnknownOutcomeLine);
            if (said.exit < 2 || !(said.err.contains(unknownLine) || said.error.contains(unknownLine)))
                add(QStringLiteral("exit"), QStringLiteral("unknown outcome"),
                    QStringLiteral("exit %1, %2").arg(said.exit).arg(said.err),
                    QStringLiteral("exit 2 or 3 with the line \"%1\"").arg(unknownLine));
        }
    }

    void checkClock()
    {
        const bool set = e.after.clockSetCount > e.before.clockSetCount;
        const bool sent = sentClock();
        const QString step = QStringLiteral("clock");
        QString truth
            = set ? QStringLiteral("set to %1").arg(e.after.clockSet.toString(Qt::ISODate)) : QStringLiteral("not set");
        if (!sent)
            truth += QStringLiteral(", no clock request reached it");
        if (op.kind == SoakOperation::CliClock && said.failure.isEmpty() && said.journal.size() != 1)
            add(QStringLiteral("journal"), step, QStringLiteral("%1 journal line(s)").arg(said.journal.size()),
                QStringLiteral("one line per attempt"));
        const QString &result = said.clock;
        if (result == QLatin1String("ok")) {
            if (!set || qAbs(e.after.clockSet.secsTo(said.clockTime)) > 2)
                add(QStringLiteral("false-ok"), step, result + QLatin1Char(' ') + said.clockTime.toString(Qt::ISODate),
                    truth);
        } else if (result == QLatin1String("refused")) {
            if (set || !sent)
                add(QStringLiteral("false-refused"), step, result, truth);
        } else if (result == QLatin1String("unknown")) {
            if (!sent || clean)
                add(QStringLiteral("needless-unknown"), step, result, truth);
        } else if (sent) {
            add(QStringLiteral("error-after-send"), step, result, truth);
        }
        if (op.kind != SoakOperation::CliClock || !said.failure.isEmpty() || !said.clock.size())
            return;
        const int wanted = result == QLatin1String("ok") ? 0 : result == QLatin1String("refused") ? 3 : 2;
        if (said.exit != wanted)
            add(QStringLiteral("exit"), QStringLiteral("exit status"), QString::number(said.exit),
                QStringLiteral("%1 for %2").arg(wanted).arg(result));
        if (result == QLatin1String("unknown") && !said.err.contains(QString::fromUtf8(kUnknownOutcomeLine)))
            add(QStringLiteral("exit"), QStringLiteral("unknown outcome"), said.err,
                QStringLiteral("the line \"%1\"").arg(QString::fromUtf8(kUnknownOutcomeLine)));
    }

    void checkFlash()
    {
        // The meter is always the package's model; vexa-cli's exit status says so for its part.
        if (op.kind == SoakOperation::Update
            && said.error.startsWith(QStringLiteral("固件更新失败,BIN文件与设备型号不一致!")))
            add(QStringLiteral("false-mismatch"), QStringLiteral("update"), said.error,
                QStringLiteral("the meter's model is the package's"));
        if (!said.flashed)
            return;
        const QByteArray image = soakImage(op.imageBytes);
        const SimFirmwareRecord &firmware = e.after.firmware;
        if (firmware.eraseCount == e.before.firmware.eraseCount || !firmware.holdsImage(image)) {
            QStringList missing;
            for (const int page : firmware.missingPages(image))
                missing << QString::number(page);
            add(QStringLiteral("flash-false-success"), QStringLiteral("update"), QStringLiteral("successful"),
                QStringLiteral("erased for %1 of %2 bytes; pages not held: %3")
                    .arg(firmware.eraseSize)
                    .arg(image.size())
                    .arg(missing.join(QLatin1Char(','))));
        }
    }

    void checkHistory()
    {
        if (!said.historyOk || !clean || said.historyText == e.historyTruth)
            return;
        const QStringList got = said.historyText.split(QLatin1Char('\n'));
        const QStringList want = e.historyTruth.split(QLatin1Char('\n'));
        int line = 0;
        while (line < got.size() && line < want.size() && got.at(line) == want.at(line))
            ++line;
        add(QStringLiteral("history"), QStringLiteral("line %1").arg(line + 1), got.value(line), want.value(line));
    }

    const SoakEvidence &e;
    const SoakOperation &op;
    const SoakSaid &said;
    const bool clean; // no request of the episode met chaos
    bool m_beyondLimits = false; // a value the meter cannot hold or answer
    QList<SoakViolation> m_found;
};

} // namespace

QList<SoakViolation> judgeSoakOperation(const SoakEvidence &evidence)
{
    return Judge(evidence).run();
}
