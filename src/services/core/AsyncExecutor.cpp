#include "services/core/AsyncExecutor.h"

#include "services/core/DelayScale.h"
#include "services/core/Trace.h"
#include "services/core/detail/DelayService.h"

#include <exception>

namespace kivcore::threads {

void AsyncExecutor::CallAsynchronously(Task f, std::int64_t delayMs) {
  if (delayMs <= 0) {
    Post(std::move(f));
    return;
  }
  detail::RunAfter(ScaledDelay(delayMs),
                   [weak = weak_from_this(), f = std::move(f)] {
                     if (auto self = weak.lock()) self->Post(f);
                   });
}

void AsyncExecutor::RunGuarded(const Task& f) {
  try {
    f();
  } catch (const std::exception& e) {
    debug::Trace("Threads", 1, std::string("a posted function threw: ") + e.what());
  } catch (...) {
    debug::Trace("Threads", 1, "a posted function threw a non-standard exception");
  }
}

}  // namespace kivcore::threads
