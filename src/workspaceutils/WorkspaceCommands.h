#pragma once
// The user's workspace commands on a manager. Every question goes through the UI
// framework's dialogs, so a test answers them from a script. Errors of the manager pass
// out to the caller.

#include "services/core/Strings.h"

#include <vector>

namespace kivui {
class OS_Window;
}
namespace kivworkspace::workspace {
class ManagerBase;
class Workspace;
}

namespace kivworkspace::workspaceutils {

// Asks for a name and makes a workspace of the live layout under it, asking first whether
// to replace a workspace of that name (replaced, it becomes the user's own as with
// SaveCurrentWorkspace). False when the name box was cancelled.
bool RequestCreateNewWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Makes the live layout the current workspace's saved layout (both its current and its
// reset state); a built-in or system workspace saved so becomes the user's own. False
// when there is no current workspace.
bool SaveCurrentWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Returns the current workspace to its saved layout. False when there is none.
bool ConfirmRevertCurrWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Asks which workspace to delete (any but the current one) and deletes it. False when
// there is none to delete (the user is told) or the question was cancelled.
bool ChooseDeleteWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager);
// Opens Edit Workspaces. True.
bool ShowEditWorkspacesDialog(kivui::OS_Window* parent, workspace::ManagerBase& manager);

// Asks for one of the names in a dialog with a pop-up of them (node ID "Workspaces
// Popup"); false when cancelled. The second form asks over the workspace's main window.
bool GetWorkspaceNameForDelete(kivui::OS_Window* parent, std::vector<kivcore::UTF16String> names,
                               kivcore::UTF16String& chosen);
bool GetWorkspaceNameForDelete(workspace::Workspace& workspace, std::vector<kivcore::UTF16String> names,
                               kivcore::UTF16String& chosen);

}  // namespace kivworkspace::workspaceutils
