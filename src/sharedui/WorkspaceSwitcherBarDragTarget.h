#pragma once

namespace kivworkspace::sharedui {

// 0 centres the tabs with the handle after them; any other value aligns them to the right
// with the handle on their left.
using WorkspaceSwitcherAlignment = int;

// What the switcher bar's drag handle resizes. Sizes are in drag units: the bar's width
// change divided by its resize multiplier (nodes share their window's units, so pointer
// moves need no scaling).
class WorkspaceSwitcherBarDragTarget {
 public:
  virtual ~WorkspaceSwitcherBarDragTarget() = default;
  virtual void DragChange(float size) = 0;
  virtual void DragEnd() = 0;
  virtual float GetStartDragSize() const = 0;
  virtual float GetMinDragSize() const = 0;
  virtual float GetMaxDragSize() const = 0;
  virtual WorkspaceSwitcherAlignment GetAlignment() const = 0;
};

}  // namespace kivworkspace::sharedui
