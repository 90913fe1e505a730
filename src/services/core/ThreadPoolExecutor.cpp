#include "services/core/ThreadPoolExecutor.h"

#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>

namespace kivcore::threads {

std::shared_ptr<ThreadPoolExecutor> ThreadPoolExecutor::Create(std::size_t threadCount) {
  return std::shared_ptr<ThreadPoolExecutor>(new ThreadPoolExecutor(threadCount));
}

ThreadPoolExecutor::ThreadPoolExecutor(std::size_t threadCount)
    : threadCount_(threadCount == 0 ? 1 : threadCount),
      pool_(std::make_unique<boost::asio::thread_pool>(threadCount_)) {}

ThreadPoolExecutor::~ThreadPoolExecutor() {
  pool_->stop();
  pool_->join();
}

bool ThreadPoolExecutor::RunsOnCurrentThread() const {
  return pool_->get_executor().running_in_this_thread();
}

void ThreadPoolExecutor::Post(Task f) {
  {
    std::lock_guard lock(mutex_);
    ++outstanding_;
  }
  boost::asio::post(*pool_, [this, f = std::move(f)] {
    RunGuarded(f);
    std::lock_guard lock(mutex_);
    if (--outstanding_ == 0) idle_.notify_all();
  });
}

void ThreadPoolExecutor::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return outstanding_ == 0; });
}

}  // namespace kivcore::threads
