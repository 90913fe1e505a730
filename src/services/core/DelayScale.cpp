#include "services/core/DelayScale.h"

#include <atomic>
#include <stdexcept>

namespace kivcore::threads {
namespace {
std::atomic<double> gScale{1.0};
}

void SetDelayScaleForTesting(double factor) {
  if (!(factor > 0.0)) throw std::invalid_argument("the delay scale must be positive");
  gScale.store(factor);
}

double GetDelayScale() { return gScale.load(); }

std::chrono::nanoseconds ScaledDelay(std::int64_t delayMs) {
  if (delayMs <= 0) return std::chrono::nanoseconds(0);
  const double ns = static_cast<double>(delayMs) * 1e6 * gScale.load();
  return std::chrono::nanoseconds(static_cast<std::int64_t>(ns));
}

}  // namespace kivcore::threads
