#pragma once
// One timer thread that holds every delayed post of the core library's executors until
// it is due and then hands it to its executor.

#include <chrono>
#include <functional>

namespace kivcore::threads::detail {

// Calls f on the timer thread after delay; f must only hand work on, never block.
void RunAfter(std::chrono::nanoseconds delay, std::function<void()> f);

}  // namespace kivcore::threads::detail
