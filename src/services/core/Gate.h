#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kivcore::threads {

// A gate that threads wait at until it is opened. It is created closed; once open, every
// waiter passes until it is closed again.
class Gate {
 public:
  Gate() = default;
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;

  void Open();
  void Close();
  bool IsOpen() const;
  // Waits until the gate is open, at most timeoutMs milliseconds (-1: no limit).
  // Returns true when the gate was open, false when the time ran out.
  bool PassThrough(std::int64_t timeoutMs);

 private:
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

}  // namespace kivcore::threads
