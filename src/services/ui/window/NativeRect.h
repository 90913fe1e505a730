#pragma once

#include "services/core/RectT.h"

namespace kivui {

// A screen rectangle in the native placement form: left, top, right, bottom.
struct NativeRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const NativeRect&, const NativeRect&) = default;
};

inline NativeRect KIVtoWIN(const kivcore::Rect& r) { return {r.left, r.top, r.Right(), r.Bottom()}; }
inline kivcore::Rect WINtoKIV(const NativeRect& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace kivui
