#include "workspace/OS_TabDragger.h"

#include "services/ui/node/UI_Container.h"
#include "workspace/TabPanel.h"

namespace kivworkspace::workspace {

void OS_TabDragger::DetachPanelWindow(const std::shared_ptr<TabPanel>& panel) {
  panel->UI_Show(false);
  if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
  detached_.push_back(panel);
}

}  // namespace kivworkspace::workspace
