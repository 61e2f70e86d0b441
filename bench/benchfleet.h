#pragma once

class BenchTable;

// Reading the item lists of 50 simulated meters (32 items each) over UDP
// loopback the way vexa-cli does, one at a time and 16 at once; once with
// meters that answer at once and once with meters that take 20 ms per answer.
void benchFleetRead(BenchTable &table);
