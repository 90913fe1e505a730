#pragma once

#include <boost/function.hpp>

namespace kivcore::threads {

// Where work for the main thread is queued. The default is a RunLoop that the program's
// main thread drives; the Qt backend installs one that posts into Qt's event loop.
class MainThreadQueue {
 public:
  virtual ~MainThreadQueue() = default;
  // Queues f to run on the main thread; callable from any thread.
  virtual void Post(boost::function<void()> f) = 0;
};

}  // namespace kivcore::threads
