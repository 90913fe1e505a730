#include "sharedui/WorkspaceSwitcherBarCapture.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::sharedui {

WorkspaceSwitcherBarCapture::WorkspaceSwitcherBarCapture(WorkspaceSwitcherBarDragTarget& target, float pressX)
    : target_(target),
      lastX_(pressX),
      size_(target.GetStartDragSize()),
      min_(target.GetMinDragSize()),
      max_(target.GetMaxDragSize()),
      alignment_(target.GetAlignment()) {}

void WorkspaceSwitcherBarCapture::Move(float x) {
  float delta = x - lastX_;
  if (std::fabs(delta) < 1.0f) return;
  lastX_ = x;
  if (alignment_ == 1) delta = -delta;
  // The running size follows the pointer even beyond the range, so that coming back
  // resizes only once the pointer is over the handle's place again; the target gets the
  // size clamped to its range.
  size_ += delta;
  target_.DragChange(std::clamp(size_, min_, std::max(min_, max_)));
}

void WorkspaceSwitcherBarCapture::End() { target_.DragEnd(); }

}  // namespace kivworkspace::sharedui
