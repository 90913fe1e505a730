#include "workspaceutils/WorkspaceCommands.h"

#include "services/core/Localizer.h"
#include "services/core/Strings.h"
#include "services/ui/dialogs/Dialogs.h"
#include "workspace/ManagerBase.h"

namespace kivworkspace::workspaceutils {

using kivcore::UTF16String;

namespace {

std::string Text(std::string_view key) { return kivcore::UTF16to8(kivcore::config::Localizer::Get().Localize(key)); }

// Replaces "@0", "@1", ... by the values in turn.
std::string Replace(std::string text, std::initializer_list<std::string> values) {
  int index = 0;
  for (const std::string& value : values) {
    const std::string mark = "@" + std::to_string(index++);
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
      text.replace(at, mark.size(), value);
  }
  return text;
}

}  // namespace

bool RequestCreateNewWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager) {
  const std::optional<std::string> name =
      kivui::SimpleInputBox(Text("$$$/kivworkspace/workspaceutils/NewWSTitle=New Workspace"),
                            Text("$$$/kivworkspace/workspaceutils/NewWSLabel=Name:"),
                            Text("$$$/kivworkspace/workspaceutils/NewWSDefName=Untitled Workspace"), parent);
  if (!name) return false;
  const UTF16String wanted = kivcore::UTF8to16(*name);
  if (manager.HasNamedWorkspace(wanted)) {
    const std::string question = Replace(
        Text("$$$/kivworkspace/workspaceutils/ReplaceWSPrompt=A workspace called \"@0\" already exists.  Would you like to replace \"@1\"?"),
        {*name, *name});
    if (!kivui::SimpleConfirmationBox(Text("$$$/kivworkspace/workspaceutils/ReplaceWSTitle=New Workspace"), question,
                                      "OK", "Cancel", parent))
      return true;
    manager.DeleteUserWorkspace(wanted);
  }
  manager.CreateUserWorkspace(wanted);
  return true;
}

bool SaveCurrentWorkspace(kivui::OS_Window*, workspace::ManagerBase& manager) {
  const UTF16String name = manager.GetCurrentWorkspace();
  if (name.empty() || !manager.HasNamedWorkspace(name)) return false;
  manager.DeleteUserWorkspace(name);
  manager.CreateUserWorkspace(name);
  return true;
}

bool ConfirmRevertCurrWorkspace(kivui::OS_Window*, workspace::ManagerBase& manager) {
  if (!manager.HasCurrentWorkspace()) return false;
  manager.RevertWorkspace(manager.GetCurrentWorkspace());
  return true;
}

}  // namespace kivworkspace::workspaceutils
