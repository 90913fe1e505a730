#pragma once
// The user's workspace commands on a manager. Every question goes through the UI
// framework's dialogs, so a test answers them from a script. Errors of the manager pass
// out to the caller.

namespace kivui {
class OS_Window;
}
namespace kivworkspace::workspace {
class ManagerBase;
}

namespace kivworkspace::workspaceutils {

// Asks for a name and makes a workspace of the live layout under it, asking first whether
// to replace a workspace of that name. False when the name box was cancelled.
bool RequestCreateNewWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Makes the live layout the current workspace's saved layout (both its current and its
// reset state); a built-in or system workspace saved so becomes the user's own. False
// when there is no current workspace.
bool SaveCurrentWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Returns the current workspace to its saved layout. False when there is none.
bool ConfirmRevertCurrWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);

}  // namespace kivworkspace::workspaceutils
