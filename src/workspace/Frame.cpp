#include "workspace/Frame.h"

#include <cstdlib>

namespace kivworkspace::workspace {

Frame::Frame(LayoutManager* manager, FrameHostInterface* host)
    : LayoutManagerElement(manager), host_(host) {}

void Frame::ClearConstraintSize() {
  stretchyX_ = stretchyY_ = true;
  constraint_ = {0, 0};
}

void Frame::SetConstraintSize(bool nearest) {
  ClearConstraintSize();
  if (!host_->IsFrameShown()) return;
  const kivcore::Point minimum = GetMinimumSize();
  kivcore::Point wanted;
  nearest ? GetNearestSnapSize(wanted) : GetGreatestSnapSize(wanted);
  if (wanted.x == 0) wanted.x = minimum.x;
  if (wanted.y == 0) wanted.y = minimum.y;
  constraint_ = wanted;
  stretchyX_ = wanted.x == minimum.x;
  stretchyY_ = wanted.y == minimum.y;
}

void Frame::GetNearestSnapSize(kivcore::Point& size) const {
  size = {0, 0};
  const kivcore::Rect current = host_->GetFrameLocalRect();
  std::vector<kivcore::Point> snaps;
  GetSnapSizes(snaps);
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
