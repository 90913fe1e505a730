#pragma once
// Every delayed post of the core library's executors waits for its delay times a scale
// factor, 1 by default. Tests set a small factor so that code which waits seconds (retry
// back-off, for instance) runs in milliseconds with its timing relations intact.

#include <chrono>
#include <cstdint>

namespace kivcore::threads {

// Testing hook: factor > 0; 0.001 turns a second into a millisecond.
void SetDelayScaleForTesting(double factor);
double GetDelayScale();
// delayMs milliseconds after scaling.
std::chrono::nanoseconds ScaledDelay(std::int64_t delayMs);

}  // namespace kivcore::threads
