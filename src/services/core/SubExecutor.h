#pragma once

#include "services/core/AsyncThreadedExecutor.h"

#include <deque>
#include <memory>
#include <mutex>

namespace kivcore::threads {

// Runs its functions on a parent executor's threads, at most `concurrency` at a time and
// in posting order. With a concurrency of 1 it is a serial queue.
class SubExecutor : public AsyncThreadedExecutor {
 public:
  static std::shared_ptr<SubExecutor> Create(std::shared_ptr<AsyncThreadedExecutor> parent,
                                             std::size_t concurrency);

  // True only while the calling thread runs one of this sub-executor's functions.
  bool RunsOnCurrentThread() const override;
  std::size_t ThreadCount() const override { return concurrency_; }

 protected:
  SubExecutor(std::shared_ptr<AsyncThreadedExecutor> parent, std::size_t concurrency);
  void Post(Task f) override;

 private:
  void RunNext();

  std::shared_ptr<AsyncThreadedExecutor> parent_;
  std::size_t concurrency_;
  std::mutex mutex_;
  std::deque<Task> queue_;
  std::size_t running_ = 0;
};

}  // namespace kivcore::threads
