#pragma once

#include "services/core/PointT.h"
#include "services/ui/events/ModKeys.h"

#include <cstdint>

namespace kivui {

// A pen or touch contact, delivered to UI_DoPrePointerEvent before any mouse event that
// the system synthesises from it.
struct PointerEvent {
  enum Action { kDown = 1, kUp = 2, kUpdate = 3, kCancel = 4 };
  enum Device { kTouch = 1, kPen = 2 };

  Action action = kUpdate;
  Device device = kTouch;
  std::int64_t pointerId = 0;
  float pressure = 0;  // 0 to 1
  ModKeys modKeys = kModNone;
  kivcore::PointF local;
  kivcore::PointF global;
};

}  // namespace kivui
