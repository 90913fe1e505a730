#pragma once

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class TabPanel;

// The native side of a tab drag: the panels torn off their frames, hidden and cut loose
// from their containers until the drop puts them somewhere.
class OS_TabDragger {
 public:
  // Hides the panel, takes it out of its container and keeps it.
  void DetachPanelWindow(const std::shared_ptr<TabPanel>& panel);
  const std::vector<std::shared_ptr<TabPanel>>& GetDetachedPanels() const { return detached_; }
  std::vector<std::shared_ptr<TabPanel>> TakeDetachedPanels() { return std::move(detached_); }

 private:
  std::vector<std::shared_ptr<TabPanel>> detached_;
};

}  // namespace kivworkspace::workspace
