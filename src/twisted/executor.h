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

// A thread with an event loop, such as the registered main thread.
class eventloop_executor : public executor {
 public:
  static boost::shared_ptr<executor> create(
      const std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor>& loop);
  explicit eventloop_executor(std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor> loop)
      : loop_(std::move(loop)) {}

  bool can_execute_here() override { return loop_->RunsOnCurrentThread(); }
  void execute(const boost::function<void()>& f) override { loop_->CallAsynchronously(f, 0); }

 private:
  std::shared_ptr<kivcore::threads::AsyncEventLoopAdaptor> loop_;
};

// A pool of threads.
class threaded_executor : public executor {
 public:
  static boost::shared_ptr<executor> create(
      const std::shared_ptr<kivcore::threads::AsyncThreadedExecutor>& pool);
  explicit threaded_executor(std::shared_ptr<kivcore::threads::AsyncThreadedExecutor> pool)
      : pool_(std::move(pool)) {}

  bool can_execute_here() override { return pool_->RunsOnCurrentThread(); }
  void execute(const boost::function<void()>& f) override { pool_->CallAsynchronously(f, 0); }

 private:
  std::shared_ptr<kivcore::threads::AsyncThreadedExecutor> pool_;
};

}  // namespace twisted
