#pragma once

#include "sharedui/ThreadActivity.h"

#include <cstdint>
#include <vector>

namespace kivworkspace::sharedui {

// The spans that end inside a time window, grouped into one lane per thread: the main
// thread's lane first, the others in the order of their first span.
struct ThreadSpanLanes {
  struct Lane {
    std::uint64_t thread = 0;
    bool mainThread = false;
    std::vector<ThreadSpan> spans;
  };
  std::vector<Lane> lanes;

  static ThreadSpanLanes Build(const std::vector<ThreadSpan>& spans, double fromMs, double toMs);
};

}  // namespace kivworkspace::sharedui
