#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace kivworkspace::sharedui {

// One piece of work a thread did.
struct ThreadSpan {
  std::uint64_t thread = 0;
  bool mainThread = false;
  std::string label;
  double startMs = 0;  // since the log began
  double endMs = 0;
};

// What threads did, recorded by the work itself, for the thread panel to draw. Keeps the
// latest spans only. Safe to use from any thread.
class ThreadActivity {
 public:
  static constexpr std::size_t kCapacity = 4096;

  // Records a span from its construction to its destruction on the calling thread.
  class Scope {
   public:
    Scope(ThreadActivity& log, std::string label);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ThreadActivity& log_;
    ThreadSpan span_;
  };

  static ThreadActivity& Get();

  Scope Record(std::string label) { return Scope(*this, std::move(label)); }
  void Add(ThreadSpan span);
  std::vector<ThreadSpan> GetSpans() const;
  // Counts every change; readers compare it with the count they saw.
  std::uint64_t GetChangeCount() const;
  void Clear();
  double NowMs() const;

 private:
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  mutable std::mutex mutex_;
  std::deque<ThreadSpan> spans_;
  std::uint64_t changes_ = 0;
};

}  // namespace kivworkspace::sharedui
