#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"

#include <array>

namespace kivui {

// Conversion between logical coordinates and device pixels at a display scale, as a 2x3
// affine matrix (scale, then offset).
class OS_ScaledView {
 public:
  using Matrix = std::array<float, 6>;  // a, b, c, d, tx, ty: x' = a x + c y + tx, ...

  explicit OS_ScaledView(float scale = 1, kivcore::PointF origin = {});

  float GetScale() const { return scale_; }
  Matrix ToDeviceMatrix() const;
  Matrix FromDeviceMatrix() const;

  kivcore::PointF ToDevice(kivcore::PointF p) const;
  kivcore::PointF FromDevice(kivcore::PointF p) const;
  kivcore::RectF ToDevice(const kivcore::RectF& r) const;
  kivcore::RectF FromDevice(const kivcore::RectF& r) const;
  // Device rectangle rounded outward to whole pixels, so drawing covers it entirely.
  kivcore::Rect ToDevicePixels(const kivcore::RectF& r) const;

 private:
  float scale_;
  kivcore::PointF origin_;
};

}  // namespace kivui
