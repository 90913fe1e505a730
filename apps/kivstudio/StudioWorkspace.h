#pragma once

#include "workspace/core/Workspace.h"

namespace kivworkspace::workspace {
class ManagerBase;
}

namespace kivstudio {

// kivstudio's workspace: the workspace commands of the switcher bar, the workspaces pop-up
// and the menus run on its manager, their errors shown to the user.
class StudioWorkspace : public kivworkspace::workspace::Workspace {
 public:
  void SetManager(kivworkspace::workspace::ManagerBase* manager) { manager_ = manager; }
  kivworkspace::workspace::ManagerBase* GetManager() const { return manager_; }

  void DoWorkspaceCmdNew() override;
  void DoWorkspaceCmdSave() override;
  void DoWorkspaceCmdDelete() override;
  void DoWorkspaceCmdReset() override;
  void DoWorkspaceCmdEdit() override;
  // Shows what the manager could not write since it was last asked, if anything.
  void ReportWriteFailures();

 private:
  // Runs a command, showing a manager error or a failed write as a caution.
  template <typename Command>
  void Run(Command command);

  kivworkspace::workspace::ManagerBase* manager_ = nullptr;
};

}  // namespace kivstudio
