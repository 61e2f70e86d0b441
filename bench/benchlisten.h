#pragma once

class BenchTable;

// Workers that wait for the meter without asking it each time: the line
// monitor (its debug switch and its read passes) and the device search.
void benchMonitorListen(BenchTable &table);
void benchDeviceSearch(BenchTable &table);
