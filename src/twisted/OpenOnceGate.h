#pragma once

#include "services/core/Gate.h"

#include <memory>
#include <mutex>

namespace kivcore::threads {

// A gate that opens at most once. Open() takes the gate out of the object and opens it;
// a waiter that comes after that passes at once. Both sides hold the gate by reference
// count, so the waiter may drop the object as soon as it has passed.
class OpenOnceGate {
 public:
  OpenOnceGate() : gate_(std::make_shared<Gate>()) {}

  void Open() {
    std::shared_ptr<Gate> taken;
    {
      std::lock_guard lock(mutex_);
      taken.swap(gate_);
    }
    if (taken) taken->Open();
  }

  // Waits without a time limit until Open() has been called.
  void Wait() {
    std::shared_ptr<Gate> held;
    {
      std::lock_guard lock(mutex_);
      held = gate_;
    }
    if (held) held->PassThrough(-1);
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<Gate> gate_;
};

}  // namespace kivcore::threads
