#pragma once

#include "services/core/AsyncExecutor.h"

#include <cstddef>

namespace kivcore::threads {

// A pool of threads that run posted functions in any order, several at once.
class AsyncThreadedExecutor : public AsyncExecutor {
 public:
  // How many functions may run at the same time.
  virtual std::size_t ThreadCount() const = 0;
};

}  // namespace kivcore::threads
