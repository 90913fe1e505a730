#include "services/core/Executors.h"

#include "services/core/SubExecutor.h"
#include "services/core/ThreadPoolExecutor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace kivcore::threads {
namespace {

std::size_t ProcessorCount() { return std::max(1u, std::thread::hardware_concurrency()); }

// The state of one ExecuteCPUBoundTaskOnAllProcessors call, shared with its workers.
struct ParallelRun {
  std::size_t taskCount;
  const std::function<void(std::size_t)>* task;
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t done = 0;
  std::exception_ptr firstError;

  // Takes task indexes until none is left.
  void Work() {
    for (std::size_t i; (i = next.fetch_add(1)) < taskCount;) {
      std::exception_ptr error;
      try {
        (*task)(i);
      } catch (...) {
        error = std::current_exception();
      }
      std::lock_guard lock(mutex);
      if (error && !firstError) firstError = error;
      if (++done == taskCount) finished.notify_all();
    }
  }
};

}  // namespace

// The shared pools live for the whole process, as the console's registry does: work still
// queued or running at exit may ask for them again, and a pool destroyed during static
// destruction would then be handed out after its end.
std::shared_ptr<AsyncThreadedExecutor> GetIOBoundExecutor() {
  static const auto* executor =
      new std::shared_ptr<AsyncThreadedExecutor>(ThreadPoolExecutor::Create(std::max<std::size_t>(4, 2 * ProcessorCount())));
  return *executor;
}

std::shared_ptr<AsyncThreadedExecutor> GetCPUBoundExecutor() {
  static const auto* executor = new std::shared_ptr<AsyncThreadedExecutor>(ThreadPoolExecutor::Create(ProcessorCount()));
  return *executor;
}

std::shared_ptr<AsyncThreadedExecutor> CreateCPUBoundExecutor(std::size_t threadCount) {
  return ThreadPoolExecutor::Create(threadCount == 0 ? ProcessorCount() : threadCount);
}

std::shared_ptr<AsyncThreadedExecutor> CreateSubExecutor(
    std::shared_ptr<AsyncThreadedExecutor> parent, std::size_t concurrency) {
  return SubExecutor::Create(std::move(parent), concurrency);
}

void ExecuteCPUBoundTaskOnAllProcessors(std::size_t taskCount,
                                        const std::function<void(std::size_t)>& task) {
  if (taskCount == 0) return;
  auto run = std::make_shared<ParallelRun>();
  run->taskCount = taskCount;
  run->task = &task;
  // The caller works too, so this never waits on a pool that is busy with its caller.
  auto pool = GetCPUBoundExecutor();
  const std::size_t helpers = std::min(taskCount, pool->ThreadCount()) - 1;
  for (std::size_t i = 0; i < helpers; ++i) pool->CallAsynchronously([run] { run->Work(); });
  run->Work();
  std::unique_lock lock(run->mutex);
  run->finished.wait(lock, [&] { return run->done == run->taskCount; });
  if (run->firstError) std::rethrow_exception(run->firstError);
}

}  // namespace kivcore::threads
