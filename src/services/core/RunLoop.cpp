#include "services/core/RunLoop.h"

#include "services/core/Trace.h"

#include <exception>

namespace kivcore::threads {
namespace {

void RunOne(const boost::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    debug::Trace("Threads", 1, std::string("a main-thread function threw: ") + e.what());
  }
}

}  // namespace

void RunLoop::Post(boost::function<void()> f) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(f));
  }
  wake_.notify_one();
}

std::size_t RunLoop::RunPending() {
  std::deque<boost::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(queue_);
  }
  for (const auto& f : batch) RunOne(f);
  return batch.size();
}

bool RunLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    boost::function<void()> f;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait_until(lock, deadline, [this] { return !queue_.empty(); })) return done();
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    RunOne(f);
  }
  return true;
}

void RunLoop::Run() {
  for (;;) {
    boost::function<void()> f;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
      if (quit_) {
        quit_ = false;
        return;
      }
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    RunOne(f);
  }
}

void RunLoop::Quit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
}

}  // namespace kivcore::threads
