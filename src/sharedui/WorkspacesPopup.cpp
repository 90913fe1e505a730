#include "sharedui/WorkspacesPopup.h"

#include "services/core/Localizer.h"
#include "services/ui/dialogs/Dialogs.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/core/Workspace.h"

#include <utility>

namespace kivworkspace::sharedui {

using kivcore::UTF16String;

namespace {

constexpr int kChoiceTimer = 1;

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }
std::string Shortened(const UTF16String& name) {
  return kivcore::UTF16to8(kivcore::TruncateUIStringInMiddle(name, 100, 0.25));
}

}  // namespace

WorkspacesPopup::WorkspacesPopup(workspace::ManagerBase& manager) : manager_(manager) {
  SetNodeID("WorkspacesPopup");
  // Item IDs are their indices. The choice is acted on from the popup's timer, once the
  // event that made it is over: a switch or a reset may destroy the window holding the
  // popup, and the timer keeps the popup alive until its handler returns.
  onSelectionChanged = [this](int id) {
    pendingChoice_ = id;
    UI_StartTimer(kChoiceTimer, 0, false);
  };
  manager_.AddMenuHelper(this);
}

WorkspacesPopup::~WorkspacesPopup() {
  if (!managerGone_) manager_.RemoveMenuHelper(this);
}

void WorkspacesPopup::UI_DoTimerNotify(int id) {
  if (id == kChoiceTimer && pendingChoice_ >= 0 && !managerGone_) PopupChanged(std::exchange(pendingChoice_, -1));
}

void WorkspacesPopup::RebuildMenu() {
  std::vector<UTF16String>& names = names_;
  names.clear();
  if (manager_.IsInitialized()) manager_.GetWorkspaces(names);
  const bool hasCurrent = manager_.HasCurrentWorkspace();
  std::vector<Item> items;
  for (const UTF16String& name : names) items.push_back({int(items.size()), Shortened(name)});
  items.push_back({int(items.size()), {}, false, true});
  items.push_back({int(items.size()), Text("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceNew=New Workspace...")});
  items.push_back({int(items.size()), Text("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceDelete=Delete Workspace..."),
                   hasCurrent && names.size() >= 2});
  const std::string reset =
      hasCurrent ? kivcore::ReplaceInString(Text("$$$/kivworkspace/sharedui/WorkspacesPopup/ResetWorkspace=Reset \"@0\"..."),
                                            std::vector<std::string>{Shortened(manager_.GetCurrentWorkspace())})
                 : Text("$$$/kivworkspace/sharedui/WorkspacesPopup/ResetWorkspaceDefault=Reset Workspace...");
  items.push_back({int(items.size()), reset, hasCurrent});
  SetItems(std::move(items));
  int current = -1;
  for (std::size_t i = 0; hasCurrent && i < names.size(); ++i)
    if (names[i] == manager_.GetCurrentWorkspace()) current = int(i);
  SetSelectedID(current);
  UI_Invalidate();
}

void WorkspacesPopup::PopupChanged(int index) {
  const int n = int(GetItems().size());
  if (index < n - 4) {
    if (std::size_t(index) >= names_.size()) return;
    const UTF16String name = names_[std::size_t(index)];
    try {
      manager_.SetCurrentWorkspace(name);
    } catch (const std::exception& e) {
      kivui::ShowCaution(kivcore::UTF16to8(name), e.what(), GetWindow());
      RebuildMenu();
    }
    return;
  }
  // A command: the choice goes back to the current workspace.
  RebuildMenu();
  workspace::Workspace& workspace = manager_.GetWorkspace();
  if (index == n - 3) workspace.DoWorkspaceCmdNew();
  if (index == n - 2) workspace.DoWorkspaceCmdDelete();
  if (index == n - 1) workspace.DoWorkspaceCmdReset();
}

}  // namespace kivworkspace::sharedui
