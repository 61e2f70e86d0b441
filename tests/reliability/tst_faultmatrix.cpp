// Every operation that talks to the instrument, against the simulated meter
// over UDP and a pseudo-terminal, under each injected fault. Each cell runs in
// a process of its own (this executable with VEXA_MATRIX_CELL set), so a crash
// or a hang shows as that cell's failure, settings never mix, and the cells
// that wait out the 10 s time-outs run side by side instead of one after the
// other.
#include "tests/reliability/faultcell.h"
#include "tests/reliability/faultexpectations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <cstdio>

namespace {

struct CellRun
{
    FaultCell cell;
    QProcess *process = nullptr;
    QElapsedTimer started;
    qint64 wallMs = 0;
    bool ran = false;
    bool crashed = false;
    int exitCode = 0;
    QString stderrTail;
    CellReport report;
    bool reported = false;
};

int jobCount()
{
    bool ok = false;
    const int jobs = qEnvironmentVariableIntValue("VEXA_MATRIX_JOBS", &ok);
    return ok && jobs > 0 ? jobs : 14;
}

QString shortText(const CellRun &run)
{
    if (!run.ran)
        return QStringLiteral("n/a");
    if (!run.reported)
        return run.crashed ? QStringLiteral("CRASH") : QStringLiteral("exit %1").arg(run.exitCode);
    QString outcome = run.report.outcome;
    outcome.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (outcome.size() > 30)
        outcome = outcome.left(28) + QStringLiteral("..");
    return QStringLiteral("%1 (%2 s)").arg(outcome).arg(run.report.elapsedMs / 1000.0, 0, 'f', 1);
}

} // namespace

class TstFaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void matrix();
};

void TstFaultMatrix::matrix()
{
    QList<CellRun> runs;
    for (const QString &op : faultMatrixOperations()) {
        for (const QString &fault : faultMatrixFaults()) {
            for (const QString &line : { QStringLiteral("udp"), QStringLiteral("pty") }) {
                CellRun run;
                run.cell = FaultCell { op, fault, line };
                bool applicable = true;
                faultRule(run.cell, &applicable);
                run.ran = applicable;
                runs << run;
            }
        }
    }
    // The longest cells first, so the matrix ends with the short ones filling in.
    QList<int> order;
    for (int i = 0; i < runs.size(); ++i) {
        if (runs.at(i).ran)
            order << i;
    }
    std::stable_sort(order.begin(), order.end(), [&runs](int a, int b) {
        return expectedCell(runs.at(a).cell).maxSeconds > expectedCell(runs.at(b).cell).maxSeconds;
    });

    const int jobs = jobCount();
    QElapsedTimer total;
    total.start();
    int next = 0;
    int running = 0;
    while (next < order.size() || running > 0) {
        while (running < jobs && next < order.size()) {
            CellRun &run = runs[order.at(next++)];
            run.process = new QProcess;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("VEXA_MATRIX_CELL"), run.cell.key());
            run.process->setProcessEnvironment(env);
            run.started.start();
            run.process->start(QCoreApplication::applicationFilePath(), QStringList());
            ++running;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
        for (CellRun &run : runs) {
            if (!run.process)
                continue;
            const bool overdue = run.started.elapsed() > 150000;
            if (run.process->state() != QProcess::NotRunning && !overdue)
                continue;
            if (overdue) {
                run.process->kill();
                run.process->waitForFinished(5000);
            }
            run.wallMs = run.started.elapsed();
            run.crashed = overdue || run.process->exitStatus() == QProcess::CrashExit;
            run.exitCode = run.process->exitCode();
            const QList<QByteArray> out = run.process->readAllStandardOutput().split('\n');
            for (const QByteArray &line : out) {
                if (line.startsWith("CELL ")) {
                    run.report = CellReport::fromJson(QJsonDocument::fromJson(line.mid(5)).object());
                    run.reported = true;
                }
            }
            run.stderrTail = QString::fromUtf8(run.process->readAllStandardError().right(1500));
            delete run.process;
            run.process = nullptr;
            --running;
        }
    }
    const qint64 totalMs = total.elapsed();

    // The table: one row per operation and fault, one column per line.
    QStringList failures;
    qInfo("%-8s %-13s | %-40s | %s", "op", "fault", "UDP", "pseudo-terminal");
    for (int i = 0; i + 1 < runs.size(); i += 2) {
        const CellRun &udp = runs.at(i);
        const CellRun &pty = runs.at(i + 1);
        qInfo("%-8s %-13s | %-40s | %s", qPrintable(udp.cell.operation), qPrintable(udp.cell.fault),
            qPrintable(shortText(udp)), qPrintable(shortText(pty)));
    }
    for (const CellRun &run : runs) {
        if (!run.ran)
            continue;
        const QString key = run.cell.key();
        if (!run.reported) {
            failures << QStringLiteral("%1: %2 exit %3 after %4 ms\n%5")
                            .arg(key, run.crashed ? QStringLiteral("crash/hang") : QStringLiteral("no report"))
                            .arg(run.exitCode)
                            .arg(run.wallMs)
                            .arg(run.stderrTail);
            continue;
        }
        const CellReport &r = run.report;
        QString outcome = r.outcome;
        outcome.replace(QLatin1Char('\n'), QLatin1Char(' '));
        qInfo("  %-30s %-60s %6lld ms  cpu %5lld ms  %s", qPrintable(key), qPrintable(outcome), r.elapsedMs, r.cpuMs,
            qPrintable(r.detail));
        const CellExpectation expected = expectedCell(run.cell);
        QStringList problems;
        if (!outcomeMatches(expected, r.outcome))
            problems << QStringLiteral("outcome \"%1\", expected \"%2\"").arg(r.outcome, expected.outcome);
        if (r.elapsedMs > expected.maxSeconds * 1000)
            problems << QStringLiteral("took %1 ms, bound %2 s").arg(r.elapsedMs).arg(expected.maxSeconds);
        if (r.threadsLeft > 0)
            problems << QStringLiteral("%1 thread(s) left running").arg(r.threadsLeft);
        if (!r.changedFiles.isEmpty())
            problems << QStringLiteral("files changed: %1").arg(r.changedFiles.join(QStringLiteral(", ")));
        // Waiting must not spin: polling costs a little, not a core.
        if (r.elapsedMs > 3000 && r.cpuMs > r.elapsedMs / 2)
            problems << QStringLiteral("busy: %1 ms CPU in %2 ms").arg(r.cpuMs).arg(r.elapsedMs);
        if (run.exitCode != 0 || run.stderrTail.contains(QLatin1String("runtime error:")))
            problems << QStringLiteral("exit %1:\n%2").arg(run.exitCode).arg(run.stderrTail);
        if (!problems.isEmpty()) {
            if (!expected.knownIssue.isEmpty())
                qInfo("  KNOWN %s: %s (%s)", qPrintable(key), qPrintable(problems.join(QStringLiteral("; "))),
                    qPrintable(expected.knownIssue));
            else
                failures << QStringLiteral("%1: %2").arg(key, problems.join(QStringLiteral("; ")));
        }
    }
    qInfo("fault matrix: %d cells in %.1f s with %d processes at a time", int(order.size()), totalMs / 1000.0, jobs);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString cell = qEnvironmentVariable("VEXA_MATRIX_CELL");
    if (!cell.isEmpty()) {
        const CellReport report = runFaultCell(FaultCell::fromKey(cell));
        const QByteArray json = QJsonDocument(report.toJson()).toJson(QJsonDocument::Compact);
        std::fprintf(stdout, "CELL %s\n", json.constData());
        std::fflush(stdout);
        return 0;
    }
    TstFaultMatrix test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faultmatrix.moc"
