#pragma once

#include "services/core/AsyncThreadedExecutor.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace boost::asio {
class thread_pool;
}

namespace kivcore::threads {

// A fixed number of threads running posted functions. Destroying it lets running functions
// finish and drops the ones still queued.
class ThreadPoolExecutor : public AsyncThreadedExecutor {
 public:
  static std::shared_ptr<ThreadPoolExecutor> Create(std::size_t threadCount);
  ~ThreadPoolExecutor() override;

  bool RunsOnCurrentThread() const override;
  std::size_t ThreadCount() const override { return threadCount_; }
  // Blocks until nothing is queued or running (delayed posts not yet due do not count).
  void WaitUntilIdle();

 protected:
  explicit ThreadPoolExecutor(std::size_t threadCount);
  void Post(Task f) override;

 private:
  std::size_t threadCount_;
  std::unique_ptr<boost::asio::thread_pool> pool_;
  std::mutex mutex_;
  std::condition_variable idle_;
  std::size_t outstanding_ = 0;
};

}  // namespace kivcore::threads
