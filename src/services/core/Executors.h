#pragma once
// The shared executors of the process and the helpers that make new ones.

#include "services/core/AsyncThreadedExecutor.h"

#include <cstddef>
#include <functional>
#include <memory>

namespace kivcore::threads {

// For waiting work (network, disk): twice as many threads as processors, at least four.
std::shared_ptr<AsyncThreadedExecutor> GetIOBoundExecutor();
// For computing work: one thread per processor, shared by the process.
std::shared_ptr<AsyncThreadedExecutor> GetCPUBoundExecutor();
// A new pool of threadCount threads (0: one per processor).
std::shared_ptr<AsyncThreadedExecutor> CreateCPUBoundExecutor(std::size_t threadCount = 0);
// Runs on parent's threads, at most concurrency functions at a time.
std::shared_ptr<AsyncThreadedExecutor> CreateSubExecutor(
    std::shared_ptr<AsyncThreadedExecutor> parent, std::size_t concurrency);

// Calls task(0) ... task(taskCount - 1) spread over the processors, the calling thread
// taking part, and returns when all have finished. The first exception a task throws is
// rethrown here after the others have finished.
void ExecuteCPUBoundTaskOnAllProcessors(std::size_t taskCount,
                                        const std::function<void(std::size_t)>& task);

}  // namespace kivcore::threads
