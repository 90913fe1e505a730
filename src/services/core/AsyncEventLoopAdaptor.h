#pragma once

#include "services/core/AsyncExecutor.h"

namespace kivcore::threads {

// One thread with an event loop (the main thread, or an EventLoopThread): posted functions
// run on it one at a time, in posting order.
class AsyncEventLoopAdaptor : public AsyncExecutor {};

}  // namespace kivcore::threads
