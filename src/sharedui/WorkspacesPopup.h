#pragma once

#include "services/ui/controls/UI_Popup.h"
#include "workspace/manager/MenuHelperBase.h"

#include <vector>

namespace kivworkspace::workspace {
class ManagerBase;
}

namespace kivworkspace::sharedui {

// A pop-up of the workspaces with the current one chosen, followed by New Workspace...,
// Delete Workspace... and Reset "<current>"...: choosing a workspace switches to it, the
// commands run through the workspace's command hooks.
class WorkspacesPopup : public kivui::UI_Popup, public workspace::MenuHelperBase {
 public:
  explicit WorkspacesPopup(workspace::ManagerBase& manager);
  ~WorkspacesPopup() override;

  void RebuildMenu() override;
  void NewActiveWorkspace(const kivcore::UTF16String&) override { RebuildMenu(); }
  void ManagerDestroyed() override { managerGone_ = true; }
  // The user chose the item at this index.
  void PopupChanged(int index);

  void UI_DoTimerNotify(int id) override;

 private:
  workspace::ManagerBase& manager_;
  // The workspaces the items show, by index: item texts may be shortened, names are whole.
  std::vector<kivcore::UTF16String> names_;
  int pendingChoice_ = -1;
  bool managerGone_ = false;
};

}  // namespace kivworkspace::sharedui
