#pragma once

#include <functional>

namespace kivscripting {

// Runs f on the UI (main) thread and waits for it, at most timeoutMs milliseconds: at once
// when called there, else posted to the main thread's queue. Returns false when the time
// ran out (f may still run later).
bool CallOnUIThread(std::function<void()> f, int timeoutMs = 10000);

}  // namespace kivscripting
