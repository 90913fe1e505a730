#pragma once

#include "sharedui/WorkspaceSwitcherBarDragTarget.h"

namespace kivworkspace::sharedui {

// One drag of the switcher bar's handle: the size follows the pointer's horizontal moves
// (moves under a pixel are ignored; a bar aligned with alignment 1 grows leftwards),
// clamped to the target's range.
class WorkspaceSwitcherBarCapture {
 public:
  WorkspaceSwitcherBarCapture(WorkspaceSwitcherBarDragTarget& target, float pressX);

  void Move(float x);
  void End();

 private:
  WorkspaceSwitcherBarDragTarget& target_;
  float lastX_;
  float size_;
  float min_, max_;
  WorkspaceSwitcherAlignment alignment_;
};

}  // namespace kivworkspace::sharedui
