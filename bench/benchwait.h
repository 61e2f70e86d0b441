#pragma once

#include <functional>

// Runs the event loop until done() holds or timeoutMs passed; false on the
// time-out. The loop sleeps until an event comes; a timer wakes it every
// wakeMs for conditions another thread sets without posting an event.
// (processEvents with a maximum time would spin and take a core from the
// threads being measured.)
bool waitUntil(const std::function<bool()> &done, int timeoutMs, int wakeMs);
