#pragma once

#include "services/core/PointT.h"

namespace kivworkspace::workspace {

class WorkspaceBorderElementResizeHandle;
class WorkspaceBorderElementResizeHandleTarget;

// The input capture of a resize handle's drag: it follows the pointer vertically and
// resizes the target whenever the pointer has moved more than a pixel since the last
// resize (smaller moves add up), scaled back to unscaled pixels.
class WorkspaceBorderElementResizeCapture {
 public:
  WorkspaceBorderElementResizeCapture(WorkspaceBorderElementResizeHandle* handle,
                                      kivcore::PointF pressGlobal,
                                      WorkspaceBorderElementResizeHandleTarget* target);

  void Move(kivcore::PointF global);

 private:
  WorkspaceBorderElementResizeHandle* handle_;
  WorkspaceBorderElementResizeHandleTarget* target_;
  kivcore::PointF last_;
};

}  // namespace kivworkspace::workspace
