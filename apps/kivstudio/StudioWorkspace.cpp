#include "StudioWorkspace.h"

#include "services/ui/dialogs/Dialogs.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspaceutils/WorkspaceCommands.h"

namespace kivstudio {

namespace commands = kivworkspace::workspaceutils;

template <typename Command>
void StudioWorkspace::Run(Command command) {
  if (!manager_) return;
  try {
    command(GetMainTopLevelWindow(), *manager_);
  } catch (const std::exception& e) {
    kivui::ShowCaution("Workspace", e.what(), GetMainTopLevelWindow());
  }
  ReportWriteFailures();
}

void StudioWorkspace::ReportWriteFailures() {
  if (!manager_) return;
  std::string failures;
  for (const std::string& failure : manager_->TakeWriteFailures()) failures += failure + "\n";
  if (!failures.empty()) kivui::ShowCaution("Workspace", "The workspace was not saved.\n" + failures, GetMainTopLevelWindow());
}

void StudioWorkspace::DoWorkspaceCmdNew() { Run(commands::RequestCreateNewWorkspace); }
void StudioWorkspace::DoWorkspaceCmdSave() { Run(commands::SaveCurrentWorkspace); }
void StudioWorkspace::DoWorkspaceCmdDelete() { Run(commands::ChooseDeleteWorkspace); }
void StudioWorkspace::DoWorkspaceCmdReset() { Run(commands::ConfirmRevertCurrWorkspace); }
void StudioWorkspace::DoWorkspaceCmdEdit() { Run(commands::ShowEditWorkspacesDialog); }

}  // namespace kivstudio
