#pragma once

#include "workspace/core/TabPanel.h"

#include <set>
#include <string>
#include <vector>

namespace kivworkspace::workspace {

class TopLevelWindow;

// What is kept of a closed floating window so that it can come back: the types of every
// panel it held, the panels that hide when closed (alive), and its layout with every
// frame as a placeholder remembering its panels.
struct WindowReanimateData {
  std::set<std::string> tabTypes;
  std::vector<TabPanelPtr> panels;
  std::string windowDefinition;  // XML fragment of the window list

  static std::shared_ptr<WindowReanimateData> FromWindow(TopLevelWindow& window);
  bool HasTabType(const std::string& type) const { return tabTypes.count(type) > 0; }
  bool HasPanel(const TabPanel* panel) const;
};

}  // namespace kivworkspace::workspace
