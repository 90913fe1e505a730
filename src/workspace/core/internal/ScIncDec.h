#pragma once

namespace kivworkspace::workspace {

// Counts a scope in: the counter is one higher while the guard lives. Drags use it to
// notice re-entry (a move delivered while a drop is being performed).
class ScIncDec {
 public:
  explicit ScIncDec(int& counter) : counter_(counter) { ++counter_; }
  ~ScIncDec() { --counter_; }
  ScIncDec(const ScIncDec&) = delete;
  ScIncDec& operator=(const ScIncDec&) = delete;

 private:
  int& counter_;
};

}  // namespace kivworkspace::workspace
