// The host's workspace menu: one command per workspace above the host's own items, the
// current one checked, IDs from a range or asked for, and commands that switch.
#include "ManagerTestSupport.h"

#include "services/ui/menu/OSMenu.h"
#include "workspace/manager/PlatformMenuHelper.h"

using namespace kivtest;

namespace {

using PlatformMenus = ManagerFixture;

std::vector<std::string> Items(const kivui::OSMenu& menu) {
  std::vector<std::string> items;
  for (const auto& item : menu.GetItems()) items.push_back(item.separator ? "-" : item.text + (item.checked ? " *" : ""));
  return items;
}

TEST_F(PlatformMenus, WorkspacesGoAboveTheHostsItemsWithTheCurrentOneChecked) {
  Restart();
  for (const char16_t* name : {u"A", u"b"}) manager->CreateUserWorkspace(name);
  std::shared_ptr<kivui::OSMenu> menu = kivui::CreateOSMenu();
  menu->AddItem(900, "Host item");
  auto helper = PlatformMenuHelperBase::NewPlatformMenuHelper(menu, *manager, {500, 3}, false);
  EXPECT_EQ(helper->GetInitialMenuItemCount(), 1u);
  manager->AddMenuHelper(helper.get());
  manager->AddMenuHelper(helper.get());  // rebuilt twice
  // Each name goes in above the one before: the menu lists them last first.
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Edit", "b *", "A", "-", "Host item"})) << "Grade has no ID left";

  unsigned int cmd = 0;
  ASSERT_TRUE(helper->WorkspaceCmdForName(u"Edit", cmd));
  EXPECT_TRUE(helper->HandleCommand(cmd));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  EXPECT_EQ(Items(*menu)[0], "Edit *");
  EXPECT_EQ(Items(*menu)[1], "b");
  EXPECT_FALSE(helper->HandleCommand(900)) << "the host's own command";
  EXPECT_FALSE(IsCommandCheckStyleRadio(cmd));

  // An acquire function supplies the IDs that are missing.
  unsigned int asked = 0;
  helper->SetAcquireCmdRangeFxn(std::make_shared<PlatformMenuHelperBase::AcquireCmdRangeFxn>([&](unsigned int count) {
    asked = count;
    return 700u;
  }));
  manager->CreateUserWorkspace(u"C");
  EXPECT_EQ(asked, 2u);
  EXPECT_EQ(Items(*menu), (std::vector<std::string>{"Grade", "Edit", "C *", "b", "A", "-", "Host item"}));
  manager->RemoveMenuHelper(helper.get());
}

TEST_F(PlatformMenus, CheckStylesAndPanelItemSuppressionAreProcessWide) {
  EXPECT_FALSE(IsCommandCheckStyleRadio(12345));
  SetCommandCheckStyle(12345, true);
  EXPECT_TRUE(IsCommandCheckStyleRadio(12345));
  SetCommandCheckStyle(12345, false);
  EXPECT_FALSE(GetSuppressPanelMenuItems());
  SuppressPanelMenuItems(true);
  EXPECT_TRUE(GetSuppressPanelMenuItems());
  SuppressPanelMenuItems(false);
}

}  // namespace
