#pragma once

namespace kivworkspace::workspace {

// What a border element's resize handle resizes: the element's height changes by the
// amount, in unscaled pixels (positive: taller).
class WorkspaceBorderElementResizeHandleTarget {
 public:
  virtual ~WorkspaceBorderElementResizeHandleTarget() = default;
  virtual void ResizeBorderElement(float amount) = 0;
};

}  // namespace kivworkspace::workspace
