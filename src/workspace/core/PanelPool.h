#pragma once

#include "workspace/core/TabPanel.h"

#include <list>
#include <string>

namespace kivworkspace::workspace {

class Workspace;

// The panels kept for reuse while an arrangement is rebuilt: a panel of a type that the new
// arrangement holds comes back as the same object (its ID and its state in memory), taken
// in the order the panels were put in.
class PanelPool {
 public:
  PanelPool() = default;
  explicit PanelPool(std::list<TabPanelPtr> panels) : panels_(std::move(panels)) {}

  void Add(TabPanelPtr panel) { panels_.push_back(std::move(panel)); }
  // The first panel of the type, taken out of the pool; null when there is none.
  TabPanelPtr Take(const std::string& type);
  // A panel of the type from the pool, else a new one from the type's creator; null when
  // no creator makes the type.
  TabPanelPtr TakeOrMake(Workspace& workspace, const std::string& type);
  // Takes the panel out; false when it was not in the pool.
  bool Remove(const TabPanelPtr& panel) { return std::erase(panels_, panel) > 0; }
  std::list<TabPanelPtr> TakeAll() { return std::move(panels_); }
  bool IsEmpty() const { return panels_.empty(); }

 private:
  std::list<TabPanelPtr> panels_;
};

}  // namespace kivworkspace::workspace
