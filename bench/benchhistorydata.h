#pragma once

class BenchTable;

// A 100,000-line history answer from the simulated meter, paced over UDP or
// all at once on a pseudo-terminal: the longest event-loop stall while the
// lines arrive in the dialog.
void benchHistoryArrival(BenchTable &table, bool flood);

// The table and the chart of 100,000 lines: from the answer's end to their
// first full paint, and one step of panning the chart.
void benchHistoryTableAndChart(BenchTable &table);
