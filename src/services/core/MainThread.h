#pragma once
// The registered main thread and calls onto it.

#include "services/core/AsyncEventLoopAdaptor.h"
#include "services/core/MainThreadQueue.h"
#include "services/core/RunLoop.h"

#include <cstdint>
#include <memory>

namespace kivcore::threads {

// Makes the calling thread the main thread.
void RegisterMainThread();
bool IsMainThread();

// Replaces the main-thread queue; null goes back to the default run loop.
void SetMainThreadQueue(std::shared_ptr<MainThreadQueue> queue);
// The default queue, which the main thread drives itself while no other queue is set.
RunLoop& GetDefaultMainRunLoop();

// The main thread as an event-loop executor (posts go through the current queue).
std::shared_ptr<AsyncEventLoopAdaptor> GetMainThreadAdaptor();
// Runs f on the main thread, after delayMs milliseconds when given.
void AsyncCallFromMainThread(boost::function<void()> f, std::int64_t delayMs = 0);

}  // namespace kivcore::threads
