#include "layout/Frame.h"

#include <cstdlib>

namespace kivworkspace::workspace {

static_assert(sizeof(void*) != 8 || sizeof(Frame) <= 48, "a frame should fit in 48 bytes");

Frame::Frame(LayoutManager* manager, FrameHostInterface* host)
    : LayoutManagerElement(manager, Kind::kFrame), host_(host) {}

void Frame::ClearConstraintSize() {
  stretchyX_ = stretchyY_ = true;
  constraint_ = {0, 0};
}

Measurements Frame::SetConstraintSize(bool nearest) {
  Measurements m{GetMinimumSize(), {0, 0}, true, true};
  if (host_->IsFrameShown()) {
    kivcore::Point wanted;
    nearest ? GetNearestSnapSize(wanted) : GetGreatestSnapSize(wanted);
    m.constraint = {wanted.x != 0 ? wanted.x : m.minimum.x, wanted.y != 0 ? wanted.y : m.minimum.y};
    m.stretchyX = m.constraint.x == m.minimum.x;
    m.stretchyY = m.constraint.y == m.minimum.y;
  }
  constraint_ = m.constraint;
  stretchyX_ = m.stretchyX;
  stretchyY_ = m.stretchyY;
  return m;
}

void Frame::GetNearestSnapSize(kivcore::Point& size) const {
  size = {0, 0};
  std::vector<kivcore::Point> snaps;
  GetSnapSizes(snaps);
  if (snaps.empty()) return;
  const kivcore::Rect current = host_->GetFrameLocalRect();
  // Per axis: the first non-zero component, replaced only by a strictly nearer one.
  auto consider = [](int& chosen, int candidate, int currentSize) {
    if (candidate == 0) return;
    if (chosen == 0 || std::abs(candidate - currentSize) < std::abs(chosen - currentSize)) {
      chosen = candidate;
    }
  };
  for (const kivcore::Point& s : snaps) {
    consider(size.x, s.x, current.width);
    consider(size.y, s.y, current.height);
  }
}

void Frame::GetGreatestSnapSize(kivcore::Point& size) const {
  size = {0, 0};
  std::vector<kivcore::Point> snaps;
  GetSnapSizes(snaps);
  for (const kivcore::Point& s : snaps) {
    if (s.x > size.x) size.x = s.x;
    if (s.y > size.y) size.y = s.y;
  }
}

bool Frame::AllowSnapping(bool inY, Frame* frame) const {
  if (frame == this) return true;
  if (IsStretchy(inY)) return false;
  const kivcore::Point minimum = GetMinimumSize();
  const kivcore::Rect current = host_->GetFrameLocalRect();
  const int size = inY ? current.height : current.width;
  return size == Along(minimum, inY) || size == Along(constraint_, inY);
}

}  // namespace kivworkspace::workspace
