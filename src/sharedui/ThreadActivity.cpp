#include "sharedui/ThreadActivity.h"

#include "services/core/MainThread.h"
#include "services/core/ThreadID.h"

namespace kivworkspace::sharedui {

ThreadActivity::Scope::Scope(ThreadActivity& log, std::string label) : log_(log) {
  span_.thread = kivcore::threads::GetCurrentThreadID();
  span_.mainThread = kivcore::threads::IsMainThread();
  span_.label = std::move(label);
  span_.startMs = log.NowMs();
}

ThreadActivity::Scope::~Scope() {
  span_.endMs = log_.NowMs();
  log_.Add(std::move(span_));
}

ThreadActivity& ThreadActivity::Get() {
  static ThreadActivity* log = new ThreadActivity;  // work may still record at exit
  return *log;
}

void ThreadActivity::Add(ThreadSpan span) {
  std::lock_guard lock(mutex_);
  spans_.push_back(std::move(span));
  if (spans_.size() > kCapacity) spans_.pop_front();
  ++changes_;
}

std::vector<ThreadSpan> ThreadActivity::GetSpans() const {
  std::lock_guard lock(mutex_);
  return {spans_.begin(), spans_.end()};
}

std::uint64_t ThreadActivity::GetChangeCount() const {
  std::lock_guard lock(mutex_);
  return changes_;
}

void ThreadActivity::Clear() {
  std::lock_guard lock(mutex_);
  spans_.clear();
  ++changes_;
}

double ThreadActivity::NowMs() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
}

}  // namespace kivworkspace::sharedui
