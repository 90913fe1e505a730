#pragma once

#include "services/core/MainThreadQueue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kivcore::threads {

// A plain queue of functions that one thread runs by calling the Run* functions.
class RunLoop : public MainThreadQueue {
 public:
  void Post(boost::function<void()> f) override;

  // Runs what is queued now (not what those functions queue); returns how many ran.
  std::size_t RunPending();
  // Runs functions as they come until done() is true after one of them, or until timeout;
  // returns done().
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Runs functions as they come until Quit is called.
  void Run();
  void Quit();

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<boost::function<void()>> queue_;
  bool quit_ = false;
};

}  // namespace kivcore::threads
