#pragma once

#include "workspace/manager/PlatformMenuHelperBase.h"

namespace kivworkspace::workspace {

// The workspace menu on the UI framework's native menus: items go in at the top.
class PlatformMenuHelper : public PlatformMenuHelperBase {
 public:
  PlatformMenuHelper(std::shared_ptr<kivui::OSMenu> menu, bool flag, ManagerBase& manager)
      : PlatformMenuHelperBase(std::move(menu), flag, manager) {}

 protected:
  unsigned int GetNumberMenuItems() override;
  void InsertMenuW(const kivcore::UTF16String& text, unsigned int id) override;
  void InsertSeparator() override;
  void DeleteFirstItem() override;
  void SetMenuCheck(unsigned int id, bool checked) override;
};

}  // namespace kivworkspace::workspace
