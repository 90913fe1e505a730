#pragma once
// The common face of everything that runs posted functions on threads of its own.

#include <boost/function.hpp>

#include <cstdint>
#include <memory>

namespace kivcore::threads {

class AsyncExecutor : public std::enable_shared_from_this<AsyncExecutor> {
 public:
  using Task = boost::function<void()>;

  virtual ~AsyncExecutor() = default;

  // True when the calling thread is one of this executor's threads.
  virtual bool RunsOnCurrentThread() const = 0;

  // Runs f later on one of this executor's threads, at the earliest delayMs milliseconds
  // from now (scaled by the delay scale). Posts without delay run in posting order on a
  // single-threaded executor. A delayed function whose executor is gone is dropped.
  void CallAsynchronously(Task f, std::int64_t delayMs = 0);

 protected:
  // Queues f to run as soon as a thread is free.
  virtual void Post(Task f) = 0;
  // Runs f and reports what escapes it, so that one failing task never stops a thread.
  static void RunGuarded(const Task& f);
};

}  // namespace kivcore::threads
