#include "services/scripting/UIThreadCall.h"

#include "services/core/MainThread.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace kivscripting {

bool CallOnUIThread(std::function<void()> f, int timeoutMs) {
  if (kivcore::threads::IsMainThread()) {
    f();
    return true;
  }
  // Shared with the posted call, which may outlive this wait.
  struct Call {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
  };
  auto call = std::make_shared<Call>();
  kivcore::threads::AsyncCallFromMainThread([call, f = std::move(f)] {
    f();
    std::lock_guard lock(call->mutex);
    call->finished = true;
    call->done.notify_all();
  });
  std::unique_lock lock(call->mutex);
  return call->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return call->finished; });
}

}  // namespace kivscripting
