#pragma once

#include "monitor/monitorline.h"

class BenchTable;

// Operations that never touch the link: files, views and start-up.
void benchItemCsv(BenchTable &table);
void benchItemList(BenchTable &table, int rowCount);
void benchPackageParse(BenchTable &table);
void benchHistoryPdf(BenchTable &table, int lineCount);
void benchHistoryView(BenchTable &table, int lineCount);
void benchMonitorView(BenchTable &table, int lineCount, MonitorMode mode = MonitorMode::Original);
// How late the dialog handles input while lines stream in.
void benchMonitorResponsive(BenchTable &table);
void benchColdStart(BenchTable &table, const QString &program);
// In the child process: builds the main window, reports the time from
// process start to its first paint on stdout and quits.
int coldStartChild();
