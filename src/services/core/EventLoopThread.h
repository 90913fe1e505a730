#pragma once

#include "services/core/AsyncEventLoopAdaptor.h"
#include "services/core/RunLoop.h"

#include <memory>
#include <thread>

namespace kivcore::threads {

// A thread of its own running an event loop: functions posted to it run there one at a
// time in posting order. Destroying it runs what is already queued, then joins (or, when
// the last reference goes away on the loop's own thread, lets the thread finish alone).
class EventLoopThread : public AsyncEventLoopAdaptor {
 public:
  static std::shared_ptr<EventLoopThread> Create();
  ~EventLoopThread() override;

  bool RunsOnCurrentThread() const override;

 protected:
  EventLoopThread();
  void Post(Task f) override;

 private:
  std::shared_ptr<RunLoop> loop_;  // shared with the thread, which may outlive this object
  std::thread thread_;
};

}  // namespace kivcore::threads
