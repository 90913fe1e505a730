#include "workspaceutils/WorkspaceCommands.h"

#include "services/core/Localizer.h"
#include "services/core/Strings.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/dialogs/UI_Dialog.h"
#include "services/ui/node/UI_Container.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

namespace kivworkspace::workspaceutils {

using kivcore::UTF16String;

namespace {

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }

// The dialog of GetWorkspaceNameForDelete: "Name:" and a pop-up of the names.
class DeleteWorkspaceDialog : public kivui::UI_Dialog {
 public:
  explicit DeleteWorkspaceDialog(std::vector<UTF16String> names)
      : UI_Dialog(Text("$$$/kivworkspace/workspaceutils/DeleteWSTitle=Delete Workspace"), 320, 120),
        names_(std::move(names)),
        label_(std::make_shared<kivui::UI_StaticText>(Text("$$$/kivworkspace/workspaceutils/DeleteWSLabel=Name:"))),
        popup_(std::make_shared<kivui::UI_Popup>()) {
    popup_->SetNodeID("Workspaces Popup");
    // A long name is shown shortened; the item's ID, its position, gives the name back.
    std::vector<kivui::UI_Popup::Item> items;
    for (const UTF16String& name : names_)
      items.push_back({int(items.size()), kivcore::UTF16to8(kivcore::TruncateUIStringInMiddle(name, 100, 0.25))});
    popup_->SetItems(std::move(items));
    popup_->SetSelectedID(0);
    label_->SetAlignment(kivui::kAlignRight | kivui::kAlignVCenter);
    GetContent().PushBack(label_);
    GetContent().PushBack(popup_);
    Place();
  }
  // The chosen item's name, whole.
  UTF16String GetChosen() const {
    const int chosen = popup_->GetSelectedID();
    return chosen >= 0 && std::size_t(chosen) < names_.size() ? names_[std::size_t(chosen)] : UTF16String();
  }
  void UI_SizeChanged(const kivcore::RectF& bounds) override {
    UI_Dialog::UI_SizeChanged(bounds);
    if (popup_) Place();
  }

 private:
  // The label, then the pop-up to its right, centred on one row.
  void Place() {
    const float row = GetContent().GetLocalBounds().height / 2;
    label_->SetFrame({8, row - 10, 52, 20});
    popup_->SetFrame({68, row - 9.5f, 200, 19});
  }
  std::vector<UTF16String> names_;
  std::shared_ptr<kivui::UI_StaticText> label_;
  std::shared_ptr<kivui::UI_Popup> popup_;
};

}  // namespace

bool RequestCreateNewWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager) {
  const std::optional<std::string> name =
      kivui::SimpleInputBox(Text("$$$/kivworkspace/workspaceutils/NewWSTitle=New Workspace"),
                            Text("$$$/kivworkspace/workspaceutils/NewWSLabel=Name:"),
                            Text("$$$/kivworkspace/workspaceutils/NewWSDefName=Untitled Workspace"), parent);
  if (!name) return false;
  const UTF16String wanted = kivcore::UTF8to16(*name);
  if (manager.HasNamedWorkspace(wanted)) {
    const std::string question = kivcore::ReplaceInString(
        Text("$$$/kivworkspace/workspaceutils/ReplaceWSPrompt=A workspace called \"@0\" already exists.  Would you like to replace \"@1\"?"),
        std::vector<std::string>{*name, *name});
    if (kivui::SimpleConfirmationBox(Text("$$$/kivworkspace/workspaceutils/ReplaceWSTitle=New Workspace"), question,
                                     "OK", "Cancel", parent))
      manager.ReplaceUserWorkspace(wanted);
    return true;
  }
  manager.CreateUserWorkspace(wanted);
  return true;
}

bool SaveCurrentWorkspace(kivui::OS_Window*, workspace::ManagerBase& manager) {
  const UTF16String name = manager.GetCurrentWorkspace();
  if (name.empty() || !manager.HasNamedWorkspace(name)) return false;
  manager.ReplaceUserWorkspace(name);
  return true;
}

bool ConfirmRevertCurrWorkspace(kivui::OS_Window*, workspace::ManagerBase& manager) {
  if (!manager.HasCurrentWorkspace()) return false;
  manager.RevertWorkspace(manager.GetCurrentWorkspace());
  return true;
}

bool ChooseDeleteWorkspace(kivui::OS_Window* parent, workspace::ManagerBase& manager) {
  std::vector<UTF16String> names;
  manager.GetWorkspaces(names);
  std::erase(names, manager.GetCurrentWorkspace());
  if (names.empty()) {
    kivui::ShowNote(Text("$$$/kivworkspace/workspaceutils/NewWSError=Error"),
                    Text("$$$/kivworkspace/workspaceutils/NewWSNoWS=No User workspaces Defined"), parent);
    return false;
  }
  UTF16String chosen;
  if (!GetWorkspaceNameForDelete(parent, names, chosen)) return false;
  manager.DeleteUserWorkspace(chosen);
  return true;
}

bool GetWorkspaceNameForDelete(kivui::OS_Window* parent, std::vector<UTF16String> names, UTF16String& chosen) {
  DeleteWorkspaceDialog dialog(std::move(names));
  if (dialog.RunModal(parent) != kivui::UI_Dialog::kOK) return false;
  chosen = dialog.GetChosen();
  return true;
}

bool GetWorkspaceNameForDelete(workspace::Workspace& workspace, std::vector<UTF16String> names, UTF16String& chosen) {
  return GetWorkspaceNameForDelete(workspace.GetMainTopLevelWindow(), std::move(names), chosen);
}

bool ShowEditWorkspacesDialog(kivui::OS_Window* parent, workspace::ManagerBase& manager) {
  // The dialog edits the switcher's lists of this manager's workspaces.
  sharedui::WorkspaceSwitcherManager::Get()->AttachWorkspaceManager(&manager);
  sharedui::WorkspaceSwitcherDialog dialog;
  dialog.Run(parent);
  return true;
}

}  // namespace kivworkspace::workspaceutils
