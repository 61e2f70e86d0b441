#pragma once

class BenchTable;

// A 100,000-line history answer from the simulated meter, paced over UDP or
// all at once on a pseudo-terminal: the longest event-loop stall while the
// lines arrive in the dialog.
void benchHistoryArrival(BenchTable &table, bool flood);
