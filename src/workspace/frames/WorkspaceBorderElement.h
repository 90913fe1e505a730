#pragma once

#include "layout/LayoutManager.h"

namespace kivworkspace::workspace {

enum class BorderElementOrientation { kHorizontal = 0, kVertical = 1 };

// A panel that can sit in a window's static border frame along one of its edges (a tool
// strip, a status bar): the edge it is docked to, and whether it is minimized to its
// resize handle. Concrete border elements say whether they can be resized or ripped off.
class WorkspaceBorderElement {
 public:
  using InsertionType = LayoutManager::InsertionType;

  virtual ~WorkspaceBorderElement() = default;
  virtual void ConvertToRegularTab() {}
  virtual void ConvertToBorderElement() {}
  virtual void SetElementOrientation(BorderElementOrientation) {}
  virtual bool IsRippable() const { return false; }
  virtual bool IsResizeable() const { return false; }

  void SetBorderElementPosition(InsertionType position) { position_ = position; }
  InsertionType GetBorderElementPosition() const { return position_; }
  // Only a resizeable element can be minimized.
  void SetIsMinimized(bool minimized) {
    if (IsResizeable()) minimized_ = minimized;
  }
  bool GetIsMinimized() const { return IsResizeable() && minimized_; }

 private:
  InsertionType position_ = LayoutManager::kTop;
  bool minimized_ = false;
};

}  // namespace kivworkspace::workspace
