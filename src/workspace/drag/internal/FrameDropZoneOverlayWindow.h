#pragma once

#include "workspace/drag/DropZoneOverlayWindow.h"

namespace kivworkspace::workspace {

class WorkspaceFrame;

// The overlay of one frame: its four side zones, its centre and its tab well, kept clear
// of the window-edge zones by the exclusions.
class FrameDropZoneOverlayWindow : public DropZoneOverlayWindow {
 public:
  FrameDropZoneOverlayWindow(TopLevelWindow* target, TabDragger* dragger,
                             WorkspaceFrame* frame, const kivcore::Rect& frameGlobal,
                             std::vector<DropZone> zones)
      : DropZoneOverlayWindow(target, dragger, frameGlobal, std::move(zones)),
        frame_(frame) {}

  WorkspaceFrame* GetRootFrame() const { return frame_; }

 private:
  WorkspaceFrame* frame_;
};

}  // namespace kivworkspace::workspace
