#include "services/core/Gate.h"

#include <chrono>

namespace kivcore::threads {

void Gate::Open() {
  // Notify under the lock: a waiter that passes may destroy the gate at once, so the
  // condition variable must not be touched after the mutex is released.
  std::lock_guard lock(mutex_);
  open_ = true;
  opened_.notify_all();
}

void Gate::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

bool Gate::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool Gate::PassThrough(std::int64_t timeoutMs) {
  std::unique_lock lock(mutex_);
  if (timeoutMs < 0) {
    opened_.wait(lock, [this] { return open_; });
    return true;
  }
  return opened_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return open_; });
}

}  // namespace kivcore::threads
