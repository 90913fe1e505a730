#pragma once

namespace kivworkspace::workspace {

// The native side of a tab drag: the cursor that shows what is dragged (a tab, or a whole
// frame) for as long as the drag lasts.
class OS_TabDragger {
 public:
  virtual ~OS_TabDragger();

 protected:
  void ShowDragCursor(bool wholeFrame);
  void RestoreCursor();

 private:
  bool cursorShown_ = false;
};

}  // namespace kivworkspace::workspace
