#pragma once

class BenchTable;

// Operations that talk to the simulated meter, each over UDP loopback
// (compared with a bare echo of the same frames) and over a paced
// pseudo-terminal (compared with the wire time at its baud rate).
void benchSmallExchange(BenchTable &table);
// baud: the serial line's speed; at 115200 the UDP row comes first.
void benchRefresh(BenchTable &table, int itemCount, int baud = 115200);
void benchFirmwareUpdate(BenchTable &table);
void benchHistoryQuery(BenchTable &table);
