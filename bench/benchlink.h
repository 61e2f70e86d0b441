#pragma once

class BenchTable;

// Operations that talk to the simulated meter, each over UDP loopback
// (compared with a bare echo of the same frames) and over a paced
// pseudo-terminal (compared with the wire time at its baud rate).
void benchSmallExchange(BenchTable &table);
void benchRefresh(BenchTable &table, int itemCount);
void benchFirmwareUpdate(BenchTable &table);
void benchHistoryQuery(BenchTable &table);
