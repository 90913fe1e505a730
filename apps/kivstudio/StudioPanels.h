#pragma once
// The mock video editor's panels: each draws believable placeholder content.

#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <memory>
#include <string>
#include <vector>

namespace kivworkspace::sharedui {
class ToolMap;
}

namespace kivstudio {

using kivworkspace::workspace::TabCreator;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::Workspace;
using kivworkspace::workspace::WorkspaceFrameBase;

// One panel type: its tab type, its tab title, whether closing it hides it, and whether it
// is a developer's panel (listed under Window > Developer).
struct PanelType {
  const char* tabType;
  const char* title;
  bool hidesWhenClosed;
  bool developer = false;
};

// Every panel type kivstudio offers, in the order of its Window menu; the library's shared
// panels among them.
const std::vector<PanelType>& PanelTypes();

// Registers a creator for every panel type with the workspace; the tools tabs record their
// buttons in the tool map.
void RegisterStudioPanels(Workspace& workspace, kivworkspace::sharedui::ToolMap& tools);

}  // namespace kivstudio
