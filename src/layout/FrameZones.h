#pragma once

#include "services/core/RectT.h"

#include <algorithm>
#include <array>

namespace kivworkspace::workspace {

// How a frame's rectangle is split when the layout places it: zones 0 to 3 are the left,
// top, right and bottom edge strips, 4 the interior, 5 the whole frame rectangle.
class FrameZones {
 public:
  enum Zone : unsigned { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3, kInterior = 4, kWhole = 5 };

  FrameZones() = default;
  // The zones of rect for edge sizes e (left, top, right, bottom): each edge strip is cut
  // from the rectangle and clipped to it (a negative size gives an empty strip), and the
  // interior is the rectangle less the four sizes, empty unless both extents are positive.
  static FrameZones Split(const kivcore::Rect& rect, const std::array<int, 4>& e) {
    auto strip = [](int edge, int extent) {
      return edge <= 0 || extent <= 0 ? 0 : std::min(edge, extent);
    };
    const int l = strip(e[0], rect.width), t = strip(e[1], rect.height);
    const int r = strip(e[2], rect.width), b = strip(e[3], rect.height);
    const int w = rect.width - e[0] - e[2], h = rect.height - e[1] - e[3];
    using kivcore::Rect;
    // Every zone is given once (no zeroing first: a frame is placed on every pass).
    return FrameZones(
        {l > 0 ? Rect{rect.left, rect.top, l, rect.height} : Rect{},
         t > 0 ? Rect{rect.left, rect.top, rect.width, t} : Rect{},
         r > 0 ? Rect{rect.Right() - r, rect.top, r, rect.height} : Rect{},
         b > 0 ? Rect{rect.left, rect.Bottom() - b, rect.width, b} : Rect{},
         w > 0 && h > 0 ? Rect{rect.left + e[0], rect.top + e[1], w, h} : Rect{}, rect},
        e);
  }

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
  FrameZones(const std::array<kivcore::Rect, 6>& zones, const std::array<int, 4>& edges)
      : zones_(zones), edges_(edges) {}

  std::array<kivcore::Rect, 6> zones_{};
  std::array<int, 4> edges_{};
};

}  // namespace kivworkspace::workspace
