// Times the program's operations against the simulated meter and prints one
// Markdown table: operation, transport, size, median time and the ratio to
// what the link itself needs.
#include "bench/benchfleet.h"
#include "bench/benchhistorydata.h"
#include "bench/benchlink.h"
#include "bench/benchlisten.h"
#include "bench/benchlocal.h"
#include "bench/benchtable.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--cold-start") == 0)
        return coldStartChild();

    // --quick leaves out the 100,000-line PDF; --only WORD runs the groups
    // whose name contains WORD (exchange refresh firmware history view
    // "history arrival" "history table and chart" monitor listen search pdf "item list" csv package
    // start fleet).
    bool quick = false;
    QString only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = QString::fromLocal8Bit(argv[++i]);
    }
    const auto wanted = [&only](const char *group) {
        return only.isEmpty() || QLatin1String(group).contains(only);
    };
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) {
        std::fprintf(stderr, "no working directory\n");
        return 1;
    }

    // A message box would stop the run: note it and close it.
    QTimer boxCloser;
    QObject::connect(&boxCloser, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
            box->done(0);
        }
    });
    boxCloser.start(200);

    BenchTable table;
    if (wanted("exchange"))
        benchSmallExchange(table);
    if (wanted("refresh")) {
        benchRefresh(table, 32);
        benchRefresh(table, 255);
        // A slow line, where painting rows competes with the exchanges.
        benchRefresh(table, 255, 9600);
    }
    if (wanted("firmware"))
        benchFirmwareUpdate(table);
    if (wanted("history query"))
        benchHistoryQuery(table);
    for (bool flood : { false, true }) {
        if (wanted("history arrival"))
            benchHistoryArrival(table, flood);
    }
    if (wanted("history table and chart"))
        benchHistoryTableAndChart(table);
    for (int lines : { 1000, 10000, 100000 }) {
        if (wanted("history view"))
            benchHistoryView(table, lines);
    }
    for (int lines : { 1000, 10000, 100000 }) {
        if (wanted("monitor view"))
            benchMonitorView(table, lines);
    }
    for (MonitorMode mode : { MonitorMode::Hex, MonitorMode::OriginalHex }) {
        if (wanted("monitor view"))
            benchMonitorView(table, 100000, mode);
    }
    if (wanted("monitor view"))
        benchMonitorResponsive(table);
    if (wanted("monitor listen"))
        benchMonitorListen(table);
    if (wanted("device search"))
        benchDeviceSearch(table);
    if (wanted("fleet"))
        benchFleetRead(table);
    for (int lines : { 1000, 10000, 100000 }) {
        if (wanted("history pdf") && !(quick && lines > 10000))
            benchHistoryPdf(table, lines);
    }
    for (int rows : { 32, 255, 1000 }) {
        if (wanted("item list"))
            benchItemList(table, rows);
    }
    if (wanted("item csv"))
        benchItemCsv(table);
    if (wanted("package parse"))
        benchPackageParse(table);
    if (wanted("cold start"))
        // The bench works in folders of its own: argv[0] may be relative.
        benchColdStart(table, QCoreApplication::applicationFilePath());

    std::fputs(table.markdown().toUtf8().constData(), stdout);
    // A limit the program beats is no floor: the table must not be used.
    const QStringList below = table.belowFloor();
    for (const QString &row : below)
        std::fprintf(stderr, "ratio below 1: %s\n", qPrintable(row));
    return below.isEmpty() ? 0 : 2;
}
