#pragma once

#include "services/core/AsyncThreadedExecutor.h"

#include <memory>

namespace boost::asio {
class thread_pool;
}

namespace kivcore::threads {

// A fixed number of threads running posted functions. Destroying it runs the functions
// still queued and lets the running ones finish before the threads end. It may be destroyed
// by one of its own functions (the last reference dropped there): a helper thread then
// joins the pool once the work is done.
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
  struct Outstanding;  // shared with queued functions, which may outlive this object

  std::size_t threadCount_;
  std::unique_ptr<boost::asio::thread_pool> pool_;
  std::shared_ptr<Outstanding> outstanding_;
};

}  // namespace kivcore::threads
