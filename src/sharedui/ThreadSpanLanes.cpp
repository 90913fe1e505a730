#include "sharedui/ThreadSpanLanes.h"

#include <algorithm>

namespace kivworkspace::sharedui {

ThreadSpanLanes ThreadSpanLanes::Build(const std::vector<ThreadSpan>& spans, double fromMs, double toMs) {
  ThreadSpanLanes result;
  for (const ThreadSpan& span : spans) {
    if (span.endMs < fromMs || span.startMs > toMs) continue;
    auto lane = std::find_if(result.lanes.begin(), result.lanes.end(), [&](const Lane& l) { return l.thread == span.thread; });
    if (lane == result.lanes.end()) {
      result.lanes.push_back({span.thread, span.mainThread, {}});
      lane = result.lanes.end() - 1;
    }
    lane->spans.push_back(span);
  }
  std::stable_partition(result.lanes.begin(), result.lanes.end(), [](const Lane& l) { return l.mainThread; });
  return result;
}

}  // namespace kivworkspace::sharedui
