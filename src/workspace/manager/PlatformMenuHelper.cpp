#include "workspace/manager/PlatformMenuHelper.h"

#include "services/ui/menu/OSMenu.h"
#include "workspace/manager/ManagerBase.h"

#include <algorithm>

namespace kivworkspace::workspace {

namespace {

std::map<unsigned int, bool>& CheckStyles() {
  static std::map<unsigned int, bool> styles;
  return styles;
}
bool suppressPanelMenuItems = false;

}  // namespace

void SetCommandCheckStyle(unsigned int cmd, bool radio) { CheckStyles()[cmd] = radio; }
bool IsCommandCheckStyleRadio(unsigned int cmd) {
  const auto it = CheckStyles().find(cmd);
  return it != CheckStyles().end() && it->second;
}
void SuppressPanelMenuItems(bool suppress) { suppressPanelMenuItems = suppress; }
bool GetSuppressPanelMenuItems() { return suppressPanelMenuItems; }

PlatformMenuHelperBase::PlatformMenuHelperBase(std::shared_ptr<kivui::OSMenu> menu, bool flag, ManagerBase& manager)
    : menu_(menu ? std::move(menu) : std::shared_ptr<kivui::OSMenu>(kivui::CreateOSMenu())), flag_(flag), manager_(manager) {}

std::unique_ptr<PlatformMenuHelperBase> PlatformMenuHelperBase::NewPlatformMenuHelper(
    std::shared_ptr<kivui::OSMenu> menu, ManagerBase& manager, const std::pair<unsigned int, unsigned int>& firstAndCount,
    bool flag) {
  const bool given = menu != nullptr;
  auto helper = std::make_unique<PlatformMenuHelper>(std::move(menu), flag, manager);
  for (unsigned int i = 0; i < firstAndCount.second; ++i) helper->commandIDs_.push_back(firstAndCount.first + i);
  if (given) helper->Init();
  return helper;
}

std::unique_ptr<PlatformMenuHelperBase> PlatformMenuHelperBase::NewPlatformMenuHelper(
    std::shared_ptr<kivui::OSMenu> menu, ManagerBase& manager, const std::shared_ptr<AcquireCmdRangeFxn>& acquire, bool flag) {
  const bool given = menu != nullptr;
  auto helper = std::make_unique<PlatformMenuHelper>(std::move(menu), flag, manager);
  helper->acquire_ = acquire;
  if (given) helper->Init();
  return helper;
}

void PlatformMenuHelperBase::Init() {
  initialItemCount_ = GetNumberMenuItems();
  initialised_ = true;
}

void PlatformMenuHelperBase::ClearWorkspaceMenu() {
  while (GetNumberMenuItems() > initialItemCount_) DeleteFirstItem();
}

void PlatformMenuHelperBase::RebuildMenu() {
  ClearWorkspaceMenu();
  commands_.clear();
  checkedCommand_ = 0;
  std::vector<kivcore::UTF16String> names;
  if (manager_.IsInitialized()) manager_.GetUISortedWorkspaceNames(names);
  if (!names.empty()) {
    if (commandIDs_.size() < names.size() && acquire_ && *acquire_) {
      const unsigned int missing = unsigned(names.size() - commandIDs_.size());
      const unsigned int first = (*acquire_)(missing);
      for (unsigned int i = 0; i < missing; ++i) commandIDs_.push_back(first + i);
    }
    // Each name goes in at the top, above the one before, with the IDs taken from the end
    // of those in use backwards; names beyond the IDs are left out.
    InsertSeparator();
    const std::size_t used = std::min(names.size(), commandIDs_.size());
    for (std::size_t i = 0; i < used; ++i) {
      const unsigned int id = commandIDs_[used - 1 - i];
      InsertMenuW(kivcore::TruncateUIStringInMiddle(names[i], 100, 0.25), id);
      commands_[id] = names[i];
    }
  }
  if (manager_.HasCurrentWorkspace()) NewActiveWorkspace(manager_.GetCurrentWorkspace());
}

void PlatformMenuHelperBase::NewActiveWorkspace(const kivcore::UTF16String& name) {
  if (checkedCommand_ != 0) SetMenuCheck(checkedCommand_, false);
  checkedCommand_ = 0;
  for (const auto& [id, known] : commands_) {
    if (known == name) {
      SetMenuCheck(id, true);
      checkedCommand_ = id;
      break;
    }
  }
}

bool PlatformMenuHelperBase::HandleCommand(const unsigned int& cmd) {
  const auto it = commands_.find(cmd);
  if (it == commands_.end()) return false;
  manager_.SetCurrentWorkspace(it->second);
  return true;
}

bool PlatformMenuHelperBase::WorkspaceCmdForName(const kivcore::UTF16String& name, unsigned int& cmd) const {
  for (const auto& [id, known] : commands_) {
    if (known == name) {
      cmd = id;
      return true;
    }
  }
  return false;
}

bool PlatformMenuHelperBase::WorkspaceNameForCmd(const unsigned int& cmd, kivcore::UTF16String& name) const {
  const auto it = commands_.find(cmd);
  if (it == commands_.end()) return false;
  name = it->second;
  return true;
}

unsigned int PlatformMenuHelper::GetNumberMenuItems() { return unsigned(Menu().GetItems().size()); }

void PlatformMenuHelper::InsertMenuW(const kivcore::UTF16String& text, unsigned int id) {
  Menu().InsertItem(0, int(id), kivcore::UTF16to8(text));
  SetCommandCheckStyle(id, false);
}

void PlatformMenuHelper::InsertSeparator() { Menu().InsertSeparator(0); }

void PlatformMenuHelper::DeleteFirstItem() { Menu().RemoveItem(0); }

void PlatformMenuHelper::SetMenuCheck(unsigned int id, bool checked) { Menu().SetChecked(int(id), checked); }

}  // namespace kivworkspace::workspace
