#pragma once

#include "services/core/RectT.h"

#include <array>

namespace kivworkspace::workspace {

// How a frame's rectangle is split when the layout places it: zones 0 to 3 are the left,
// top, right and bottom edge strips, 4 the interior, 5 the whole frame rectangle.
class FrameZones {
 public:
  enum Zone : unsigned { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3, kInterior = 4, kWhole = 5 };

  FrameZones() = default;

  kivcore::Rect& operator[](unsigned i) { return zones_[i]; }
  const kivcore::Rect& operator[](unsigned i) const { return zones_[i]; }

  // Edge size i (0 left, 1 top, 2 right, 3 bottom); 0 for any other index.
  int EdgeSize(unsigned i) const { return i < 4 ? edges_[i] : 0; }
  void SetEdgeSize(unsigned i, int size) {
    if (i < 4) edges_[i] = size;
  }
  // True for the four edge strips.
  static bool IsBorder(unsigned i) { return i < 4; }

  // Compares the zones only, not the edge sizes.
  friend bool operator==(const FrameZones& a, const FrameZones& b) { return a.zones_ == b.zones_; }

 private:
  std::array<kivcore::Rect, 6> zones_{};
  std::array<int, 4> edges_{};
};

}  // namespace kivworkspace::workspace
