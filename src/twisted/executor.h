#pragma once
// Where a callback's body runs: executors wrap an executor of the core library.

#include "services/core/AsyncEventLoopAdaptor.h"
#include "services/core/AsyncThreadedExecutor.h"

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <memory>

namespace twisted {

class executor {
 public:
  virtual ~executor() = default;
  // True when the calling thread is one of the wrapped executor's threads.
  virtual bool can_execute_here() = 0;
  // Hands f to the wrapped executor to run later on one of its threads.
  virtual void execute(const boost::function<void()>& f) = 0;
};

// An executor of the core library behind the deferred library's executor interface.
class core_executor : public executor {
 public:
  explicit core_executor(std::shared_ptr<kivcore::threads::AsyncExecutor> wrapped)
      : wrapped_(std::move(wrapped)) {}
  bool can_execute_here() override { return wrapped_->RunsOnCurrentThread(); }
  void execute(const boost::function<void()>& f) override { wrapped_->CallAsynchronously(f, 0); }

 private:
  std::shared_ptr<kivcore::threads::AsyncExecutor> wrapped_;
};

// A thread with an event loop, such as the registered main thread.
class eventloop_executor : public core_executor {
 public:
  static boost::shared_ptr<executor> create(
      const std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor>& loop);
  explicit eventloop_executor(std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor> loop)
      : core_executor(std::move(loop)) {}
};

// A pool of threads.
class threaded_executor : public core_executor {
 public:
  static boost::shared_ptr<executor> create(
      const std::shared_ptr<kivcore::threads::AsyncThreadedExecutor>& pool);
  explicit threaded_executor(std::shared_ptr<kivcore::threads::AsyncThreadedExecutor> pool)
      : core_executor(std::move(pool)) {}
};

}  // namespace twisted
