#pragma once

class BenchTable;

// Reading the item lists of 1, 8 and 32 simulated meters (32 items each) over
// UDP loopback on the fleet runner, as vexa-cli --targets and the meters panel
// do: all at once and 8 at once (the default), against the slowest meter's
// own time; meters that take 20 ms per answer, and 32 that answer at once.
void benchFleetRead(BenchTable &table);
