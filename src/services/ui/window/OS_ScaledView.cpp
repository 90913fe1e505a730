#include "services/ui/window/OS_ScaledView.h"

#include <cmath>

namespace kivui {

OS_ScaledView::OS_ScaledView(float scale, kivcore::PointF origin)
    : scale_(scale > 0 ? scale : 1), origin_(origin) {}

OS_ScaledView::Matrix OS_ScaledView::ToDeviceMatrix() const {
  return {scale_, 0, 0, scale_, origin_.x * scale_, origin_.y * scale_};
}

OS_ScaledView::Matrix OS_ScaledView::FromDeviceMatrix() const {
  return {1 / scale_, 0, 0, 1 / scale_, -origin_.x, -origin_.y};
}

kivcore::PointF OS_ScaledView::ToDevice(kivcore::PointF p) const {
  return {(p.x + origin_.x) * scale_, (p.y + origin_.y) * scale_};
}

kivcore::PointF OS_ScaledView::FromDevice(kivcore::PointF p) const {
  return {p.x / scale_ - origin_.x, p.y / scale_ - origin_.y};
}

kivcore::RectF OS_ScaledView::ToDevice(const kivcore::RectF& r) const {
  const kivcore::PointF tl = ToDevice(r.TopLeft());
  return {tl.x, tl.y, r.width * scale_, r.height * scale_};
}

kivcore::RectF OS_ScaledView::FromDevice(const kivcore::RectF& r) const {
  const kivcore::PointF tl = FromDevice(r.TopLeft());
  return {tl.x, tl.y, r.width / scale_, r.height / scale_};
}

kivcore::Rect OS_ScaledView::ToDevicePixels(const kivcore::RectF& r) const {
  const kivcore::RectF d = ToDevice(r);
  const int left = int(std::floor(d.left)), top = int(std::floor(d.top));
  const int right = int(std::ceil(d.Right())), bottom = int(std::ceil(d.Bottom()));
  return {left, top, right - left, bottom - top};
}

}  // namespace kivui
