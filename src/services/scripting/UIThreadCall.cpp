#include "services/scripting/UIThreadCall.h"

#include "services/core/MainThread.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace kivscripting {
namespace {

// Shared by the waiting thread and the posted call, which may outlive the wait.
struct Call {
  enum State { kWaiting, kRunning, kFinished, kGivenUp };
  std::mutex mutex;
  std::condition_variable changed;
  State state = kWaiting;
  std::exception_ptr error;
};

// The posted side: runs f unless the waiting thread gave up first.
void Run(Call& call, const std::function<void()>& f) {
  {
    std::lock_guard lock(call.mutex);
    if (call.state == Call::kGivenUp) return;
    call.state = Call::kRunning;
  }
  std::exception_ptr error;
  try {
    f();
  } catch (...) {
    error = std::current_exception();
  }
  std::lock_guard lock(call.mutex);
  call.error = error;
  call.state = Call::kFinished;
  call.changed.notify_all();
}

}  // namespace

bool CallOnUIThread(std::function<void()> f, int timeoutMs) {
  if (kivcore::threads::IsMainThread()) {
    f();
    return true;
  }
  auto call = std::make_shared<Call>();
  kivcore::threads::AsyncCallFromMainThread([call, f = std::move(f)] { Run(*call, f); });
  std::unique_lock lock(call->mutex);
  if (!call->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return call->state != Call::kWaiting; })) {
    call->state = Call::kGivenUp;
    return false;
  }
  call->changed.wait(lock, [&] { return call->state == Call::kFinished; });
  if (call->error) std::rethrow_exception(call->error);
  return true;
}

}  // namespace kivscripting
