#pragma once

#include <functional>

namespace kivscripting {

// Runs f on the UI (main) thread and waits for it: at once when called there, else posted
// to the main thread's queue. A call that has not started within timeoutMs milliseconds is
// given up: it returns false and f never runs (so a script that was told "no" never sees
// the effect later). A call that started in time is waited for to its end, and an
// exception f throws reaches the caller.
bool CallOnUIThread(std::function<void()> f, int timeoutMs = 10000);

}  // namespace kivscripting
