#include "services/core/MainThread.h"

#include <mutex>
#include <thread>

namespace kivcore::threads {
namespace {

std::mutex gMutex;
std::thread::id gMainThread;
std::shared_ptr<MainThreadQueue> gQueue;

std::shared_ptr<MainThreadQueue> CurrentQueue() {
  std::lock_guard lock(gMutex);
  return gQueue;
}

class MainThreadAdaptor : public AsyncEventLoopAdaptor {
 public:
  bool RunsOnCurrentThread() const override { return IsMainThread(); }

 protected:
  void Post(Task f) override {
    auto task = [f = std::move(f)] { RunGuarded(f); };
    if (auto queue = CurrentQueue()) {
      queue->Post(std::move(task));
    } else {
      GetDefaultMainRunLoop().Post(std::move(task));
    }
  }
};

}  // namespace

void RegisterMainThread() {
  std::lock_guard lock(gMutex);
  gMainThread = std::this_thread::get_id();
}

bool IsMainThread() {
  std::lock_guard lock(gMutex);
  return gMainThread == std::this_thread::get_id();
}

void SetMainThreadQueue(std::shared_ptr<MainThreadQueue> queue) {
  std::lock_guard lock(gMutex);
  gQueue = std::move(queue);
}

RunLoop& GetDefaultMainRunLoop() {
  static RunLoop loop;
  return loop;
}

std::shared_ptr<AsyncEventLoopAdaptor> GetMainThreadAdaptor() {
  static const auto adaptor = std::make_shared<MainThreadAdaptor>();
  return adaptor;
}

void AsyncCallFromMainThread(boost::function<void()> f, std::int64_t delayMs) {
  GetMainThreadAdaptor()->CallAsynchronously(std::move(f), delayMs);
}

}  // namespace kivcore::threads
