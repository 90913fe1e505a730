#include "services/core/SubExecutor.h"

namespace kivcore::threads {
namespace {
thread_local const SubExecutor* tCurrentSubExecutor = nullptr;
}

std::shared_ptr<SubExecutor> SubExecutor::Create(std::shared_ptr<AsyncThreadedExecutor> parent,
                                                 std::size_t concurrency) {
  return std::shared_ptr<SubExecutor>(new SubExecutor(std::move(parent), concurrency));
}

SubExecutor::SubExecutor(std::shared_ptr<AsyncThreadedExecutor> parent, std::size_t concurrency)
    : parent_(std::move(parent)), concurrency_(concurrency == 0 ? 1 : concurrency) {}

bool SubExecutor::RunsOnCurrentThread() const { return tCurrentSubExecutor == this; }

void SubExecutor::Post(Task f) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(f));
  if (running_ < concurrency_) {
    ++running_;
    parent_->CallAsynchronously([self = std::static_pointer_cast<SubExecutor>(shared_from_this())] {
      self->RunNext();
    });
  }
}

// Runs one queued function on a parent thread, then hands the slot on: to the next queued
// function through a fresh post (so other users of the parent get their turn), or back.
// Two slots that finish together can both hand on for one queued function; the one that
// finds the queue empty gives its slot back.
void SubExecutor::RunNext() {
  Task task;
  {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
      --running_;
      return;
    }
    task = std::move(queue_.front());
    queue_.pop_front();
  }
  const SubExecutor* outer = tCurrentSubExecutor;
  tCurrentSubExecutor = this;
  RunGuarded(task);
  tCurrentSubExecutor = outer;

  std::lock_guard lock(mutex_);
  if (queue_.empty()) {
    --running_;
    return;
  }
  parent_->CallAsynchronously([self = std::static_pointer_cast<SubExecutor>(shared_from_this())] {
    self->RunNext();
  });
}

}  // namespace kivcore::threads
