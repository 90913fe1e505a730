#pragma once

#include "services/ui/window/MonitorInfo.h"

namespace kivui {

// The monitors the window system reports, primary first.
class OS_MonitorInfo {
 public:
  static std::vector<MonitorInfo> GetMonitors();
  static MonitorInfo FromPoint(kivcore::Point p);
  static MonitorInfo FromRect(const kivcore::Rect& r);
  static kivcore::Rect EnsureRectIsVisible(const kivcore::Rect& r);
};

}  // namespace kivui
