#pragma once

#include "workspace/drag/DropZoneOverlayWindow.h"

namespace kivworkspace::workspace {

// The overlay of one window-edge zone: the trapezoid along that edge of the target
// window, active from the start.
class EdgeDropZoneOverlayWindow : public DropZoneOverlayWindow {
 public:
  EdgeDropZoneOverlayWindow(TopLevelWindow* target, TabDragger* dragger,
                            const kivcore::Rect& rect, const std::vector<kivcore::Point>& polygon,
                            DropZone::DropType type);
};

}  // namespace kivworkspace::workspace
