#include "services/core/ThreadPoolExecutor.h"

#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kivcore::threads {

std::shared_ptr<ThreadPoolExecutor> ThreadPoolExecutor::Create(std::size_t threadCount) {
  return std::shared_ptr<ThreadPoolExecutor>(new ThreadPoolExecutor(threadCount));
}

struct ThreadPoolExecutor::Outstanding {
  std::mutex mutex;
  std::condition_variable idle;
  std::size_t count = 0;
};

ThreadPoolExecutor::ThreadPoolExecutor(std::size_t threadCount)
    : threadCount_(threadCount == 0 ? 1 : threadCount),
      pool_(std::make_unique<boost::asio::thread_pool>(threadCount_)),
      outstanding_(std::make_shared<Outstanding>()) {}

ThreadPoolExecutor::~ThreadPoolExecutor() {
  // The pool finishes the functions it was given before its threads end. Stopping it with
  // functions still queued would deadlock a running function that waits for one of them
  // (a deferred's callback handed to this pool waits that way): the queued ones would
  // neither run nor, before the join, be destroyed.
  if (RunsOnCurrentThread()) {
    // A pool thread cannot join its own pool.
    std::thread([pool = std::move(pool_)] { pool->join(); }).detach();
  } else {
    pool_->join();
  }
}

bool ThreadPoolExecutor::RunsOnCurrentThread() const {
  return pool_->get_executor().running_in_this_thread();
}

void ThreadPoolExecutor::Post(Task f) {
  {
    std::lock_guard lock(outstanding_->mutex);
    ++outstanding_->count;
  }
  boost::asio::post(*pool_, [outstanding = outstanding_, f = std::move(f)] {
    RunGuarded(f);
    std::lock_guard lock(outstanding->mutex);
    if (--outstanding->count == 0) outstanding->idle.notify_all();
  });
}

void ThreadPoolExecutor::WaitUntilIdle() {
  std::unique_lock lock(outstanding_->mutex);
  outstanding_->idle.wait(lock, [this] { return outstanding_->count == 0; });
}

}  // namespace kivcore::threads
