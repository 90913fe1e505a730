#pragma once

#include "services/core/PointT.h"

#include <algorithm>
#include <ostream>

namespace kivcore {

// A rectangle of left, top, width and height. It is empty when width or height is below 1
// and contains a point when it is not empty and left <= x < left + width,
// top <= y < top + height.
template <typename T>
struct RectT {
  T left{};
  T top{};
  T width{};
  T height{};

  T Right() const { return left + width; }    // first column past the rectangle
  T Bottom() const { return top + height; }   // first row past the rectangle
  PointT<T> TopLeft() const { return {left, top}; }
  bool IsEmpty() const { return width < T(1) || height < T(1); }

  bool Contains(PointT<T> p) const {
    return !IsEmpty() && left <= p.x && p.x < Right() && top <= p.y && p.y < Bottom();
  }
  // True when every point of r lies in this rectangle; an empty r is contained nowhere.
  bool Contains(const RectT& r) const {
    return !IsEmpty() && !r.IsEmpty() && left <= r.left && top <= r.top &&
           r.Right() <= Right() && r.Bottom() <= Bottom();
  }
  bool Intersects(const RectT& r) const { return !Intersection(r).IsEmpty(); }

  RectT Intersection(const RectT& r) const {
    const T l = std::max(left, r.left), t = std::max(top, r.top);
    const T rr = std::min(Right(), r.Right()), b = std::min(Bottom(), r.Bottom());
    if (rr <= l || b <= t) return {};
    return {l, t, rr - l, b - t};
  }
  // The smallest rectangle holding both; an empty operand does not count.
  RectT Union(const RectT& r) const {
    if (r.IsEmpty()) return *this;
    if (IsEmpty()) return r;
    const T l = std::min(left, r.left), t = std::min(top, r.top);
    return {l, t, std::max(Right(), r.Right()) - l, std::max(Bottom(), r.Bottom()) - t};
  }
  RectT Offset(T dx, T dy) const { return {left + dx, top + dy, width, height}; }
  // Shrinks by d on every side (grows for negative d).
  RectT Inset(T d) const { return {left + d, top + d, width - 2 * d, height - 2 * d}; }

  friend bool operator==(const RectT&, const RectT&) = default;
  friend std::ostream& operator<<(std::ostream& os, const RectT& r) {
    return os << '[' << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ']';
  }
};

using Rect = RectT<int>;
using RectF = RectT<float>;

}  // namespace kivcore
