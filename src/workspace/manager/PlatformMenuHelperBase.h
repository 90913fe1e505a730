#pragma once
// The host's own Workspace menu (its Window > Workspace submenu) kept in step with the
// manager: one command per workspace, in menu order, above the host's items, the current
// one checked. The host registers it with ManagerBase::AddMenuHelper and routes its menu
// commands to HandleCommand. Subclasses supply the five menu operations.

#include "services/core/Strings.h"
#include "workspace/manager/MenuHelperBase.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace kivui {
class OSMenu;
}

namespace kivworkspace::workspace {

class ManagerBase;

class PlatformMenuHelperBase : public MenuHelperBase {
 public:
  // Given the number of command IDs still needed, returns the first of that many new
  // consecutive IDs.
  using AcquireCmdRangeFxn = std::function<unsigned int(unsigned int)>;

  // A helper on the menu (a new empty one when null) with the command IDs first, first+1,
  // ... first+count-1, or with IDs asked for as needed. Given a menu, it is initialised at
  // once: the items already there stay the host's.
  static std::unique_ptr<PlatformMenuHelperBase> NewPlatformMenuHelper(
      std::shared_ptr<kivui::OSMenu> menu, ManagerBase& manager,
      const std::pair<unsigned int, unsigned int>& firstAndCount, bool flag);
  static std::unique_ptr<PlatformMenuHelperBase> NewPlatformMenuHelper(
      std::shared_ptr<kivui::OSMenu> menu, ManagerBase& manager,
      const std::shared_ptr<AcquireCmdRangeFxn>& acquire, bool flag);

  ~PlatformMenuHelperBase() override = default;

  void RebuildMenu() override;
  void NewActiveWorkspace(const kivcore::UTF16String& name) override;

  void Init();
  std::uint32_t GetInitialMenuItemCount() const { return initialItemCount_; }
  void SetAcquireCmdRangeFxn(const std::shared_ptr<AcquireCmdRangeFxn>& acquire) { acquire_ = acquire; }
  void SetSizeMainFrame(bool size) { sizeMainFrame_ = size; }

  // Switches to the command's workspace; false when the command is not one of the helper's.
  bool HandleCommand(const unsigned int& cmd);
  bool IsWorkspaceCommand(const unsigned int& cmd) const { return commands_.contains(cmd); }
  bool WorkspaceCmdForName(const kivcore::UTF16String& name, unsigned int& cmd) const;
  bool WorkspaceNameForCmd(const unsigned int& cmd, kivcore::UTF16String& name) const;
  const std::shared_ptr<kivui::OSMenu>& GetMenu() const { return menu_; }

 protected:
  PlatformMenuHelperBase(std::shared_ptr<kivui::OSMenu> menu, bool flag, ManagerBase& manager);

  virtual unsigned int GetNumberMenuItems() = 0;
  virtual void InsertMenuW(const kivcore::UTF16String& text, unsigned int id) = 0;
  virtual void InsertSeparator() = 0;
  virtual void DeleteFirstItem() = 0;
  virtual void SetMenuCheck(unsigned int id, bool checked) = 0;

  kivui::OSMenu& Menu() { return *menu_; }

 private:
  void ClearWorkspaceMenu();

  std::shared_ptr<kivui::OSMenu> menu_;
  bool flag_;
  ManagerBase& manager_;
  std::uint32_t initialItemCount_ = 0;
  std::map<unsigned int, kivcore::UTF16String> commands_;
  std::vector<unsigned int> commandIDs_;
  bool initialised_ = false;
  std::shared_ptr<AcquireCmdRangeFxn> acquire_;
  unsigned int checkedCommand_ = 0;
  bool sizeMainFrame_ = true;
};

// Whether the host draws a radio mark rather than a tick for the command (false unless set).
void SetCommandCheckStyle(unsigned int cmd, bool radio);
bool IsCommandCheckStyleRadio(unsigned int cmd);
// Whether the host leaves panel items out of the menus it builds (false at start).
void SuppressPanelMenuItems(bool suppress);
bool GetSuppressPanelMenuItems();

}  // namespace kivworkspace::workspace
