#pragma once

#include "services/core/PointT.h"

namespace kivui {

// A recognised touch-pad or touch-screen gesture.
struct GestureEvent {
  enum Kind { kBegin = 0, kZoom = 1, kPan = 2, kRotate = 3, kEnd = 4 };

  Kind kind = kBegin;
  // Zoom: the scale change (0.1 = 10 % larger); rotate: degrees; pan: unused.
  float value = 0;
  kivcore::PointF delta;  // pan offset
  kivcore::PointF local;
  kivcore::PointF global;
};

}  // namespace kivui
