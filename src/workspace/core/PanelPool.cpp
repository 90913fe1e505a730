#include "workspace/core/PanelPool.h"

#include "workspace/core/Workspace.h"

#include <algorithm>

namespace kivworkspace::workspace {

TabPanelPtr PanelPool::Take(const std::string& type) {
  auto it = std::find_if(panels_.begin(), panels_.end(),
                         [&](const TabPanelPtr& p) { return p->GetTabType() == type; });
  if (it == panels_.end()) return nullptr;
  TabPanelPtr panel = std::move(*it);
  panels_.erase(it);
  return panel;
}

TabPanelPtr PanelPool::TakeOrMake(Workspace& workspace, const std::string& type) {
  if (TabPanelPtr panel = Take(type)) return panel;
  return workspace.CreateTabPanel(type, nullptr);
}

}  // namespace kivworkspace::workspace
