#pragma once
// Helpers for building a window's layout tree piece by piece, as a restore and a builder do:
// children attached to their splitter's side, and closed panels kept where they belong.

#include "layout/FrameHostInterface.h"
#include "workspace/core/TabPanel.h"

#include <functional>
#include <string>

namespace kivworkspace::workspace {

class LayoutManagerElement;
class Splitter;
class TopLevelWindow;
class Workspace;
class WorkspaceFrame;

// Where the panels of a new arrangement come from: reused or made, null when no creator
// makes the type.
using PanelSource = std::function<TabPanelPtr(const std::string& type)>;

// Puts child (may be null) on one side of the splitter.
void AttachChild(Splitter& parent, bool leftOrTop, LayoutManagerElement* child);

// Records of closed panels whose types hide when closed become hidden panels of the frame
// (their state loaded); the others are returned, to be kept as removed-panel records.
TabDataList KeepHiddenPanels(Workspace& workspace, const TabDataList& records,
                             WorkspaceFrame& frame, const PanelSource& source);

// Where a frame had only closed panels, a placeholder keeps them on that side (which is
// then not shown): it holds a hidden frame of the window for the panels that hide when
// closed, and the other records.
void PlaceClosedPanels(TopLevelWindow& window, const TabDataList& records, Splitter& parent,
                       bool leftOrTop, const PanelSource& source);

}  // namespace kivworkspace::workspace
