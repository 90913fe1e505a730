#pragma once
// kivstudio's tools: the editor's tools on the library's tools tab (select, razor, slip,
// pen, hand, zoom, type, the select, slip, pen and type buttons with more tools in their
// pop-ups), with icons drawn at start.

#include "workspace/core/TabCreator.h"

#include <memory>

namespace kivworkspace::sharedui {
class ToolMap;
}

namespace kivstudio {

// The tool IDs.
enum StudioTool : int {
  kToolSelection = 101,
  kToolTrackForward,
  kToolTrackBackward,
  kToolRazor = 111,
  kToolSlip = 121,
  kToolSlide,
  kToolPen = 131,
  kToolRectangle,
  kToolEllipse,
  kToolHand = 141,
  kToolZoom = 151,
  kToolType = 161,
  kToolVerticalType,
};

// The creator of kivstudio's tools tab ("ToolStrip"): every tab it makes records its
// buttons in the map, and carries the workspaces pop-up and the switcher bar of the
// workspace's manager, shown while the tab is a regular tab.
std::unique_ptr<kivworkspace::workspace::TabCreator> CreateStudioToolsCreator(kivworkspace::sharedui::ToolMap& map);

}  // namespace kivstudio
