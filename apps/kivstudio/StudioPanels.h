#pragma once
// The mock video editor's panels: each draws believable placeholder content.

#include "workspace/TabCreator.h"
#include "workspace/TabPanel.h"

#include <memory>
#include <string>
#include <vector>

namespace kivstudio {

using kivworkspace::workspace::TabCreator;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::Workspace;
using kivworkspace::workspace::WorkspaceFrameBase;

// One panel type: its tab type, its tab title, and whether closing it hides it.
struct PanelType {
  const char* tabType;
  const char* title;
  bool hidesWhenClosed;
};

// Every panel type kivstudio offers, in the order of its Window menu.
const std::vector<PanelType>& PanelTypes();

// Registers a creator for every panel type with the workspace.
void RegisterStudioPanels(Workspace& workspace);

}  // namespace kivstudio
