#pragma once

#include <ostream>

namespace kivcore {

// A point in pixels (int) or in the UI framework's float coordinates.
template <typename T>
struct PointT {
  T x{};
  T y{};

  friend bool operator==(const PointT&, const PointT&) = default;
  friend PointT operator+(PointT a, PointT b) { return {a.x + b.x, a.y + b.y}; }
  friend PointT operator-(PointT a, PointT b) { return {a.x - b.x, a.y - b.y}; }
  friend std::ostream& operator<<(std::ostream& os, const PointT& p) {
    return os << '(' << p.x << ", " << p.y << ')';
  }
};

using Point = PointT<int>;
using PointF = PointT<float>;

}  // namespace kivcore
