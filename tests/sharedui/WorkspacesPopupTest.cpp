// The workspaces pop-up: the workspaces with the current one chosen, then the commands,
// enabled as the state allows; choosing switches or runs the command.
#include "workspace/manager/ManagerTestSupport.h"

#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "sharedui/WorkspacesPopup.h"

#include <algorithm>

using namespace kivtest;
using kivworkspace::sharedui::WorkspaceSwitcherBar;
using kivworkspace::sharedui::WorkspaceSwitcherManager;
using kivworkspace::sharedui::WorkspacesPopup;

namespace {


struct Popup : ManagerFixture {
  std::shared_ptr<CommandWorkspace> hooked = std::make_shared<CommandWorkspace>();
  Popup() { workspace = hooked; }
};

std::vector<std::string> Items(const WorkspacesPopup& popup) {
  std::vector<std::string> items;
  for (const auto& item : popup.GetItems())
    items.push_back(item.separator ? "-" : item.text + (item.enabled ? "" : " (off)") + (item.id == popup.GetSelectedID() ? " *" : ""));
  return items;
}

TEST_F(Popup, ListsTheWorkspacesThenTheCommandsAndActsOnAChoice) {
  Restart();
  manager->DeleteUserWorkspace(u"Grade");
  auto popup = std::make_shared<WorkspacesPopup>(*manager);
  EXPECT_EQ(Items(*popup), (std::vector<std::string>{"Edit", "-", "New Workspace...", "Delete Workspace... (off)",
                                                     "Reset Workspace... (off)"}));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  EXPECT_EQ(Items(*popup), (std::vector<std::string>{"Edit *", "-", "New Workspace...", "Delete Workspace... (off)",
                                                     "Reset \"Edit\"..."})) << "one workspace: nothing to delete";
  manager->CreateUserWorkspace(u"Mine");
  EXPECT_EQ(Items(*popup), (std::vector<std::string>{"Edit", "Mine *", "-", "New Workspace...", "Delete Workspace...",
                                                     "Reset \"Mine\"..."}));
  popup->PopupChanged(0);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  for (int index : {3, 4, 5}) popup->PopupChanged(index);
  EXPECT_EQ(hooked->commands, (std::vector<std::string>{"new", "delete", "reset"}));
  EXPECT_EQ(Items(*popup)[0], "Edit *") << "after a command the choice is the current workspace again";
  popup.reset();
  manager->CreateUserWorkspace(u"After");  // the popup left the manager's helpers
}

// Names too long for a menu are shortened in the items, yet a choice switches to the whole
// name and the current workspace is still the chosen item.
TEST_F(Popup, AWorkspaceWithANameTooLongForTheMenuIsChosenAndShownCurrent) {
  Restart();
  // Two names that differ only in the middle, which shortening cuts out.
  const std::u16string side(65, u'w');
  const std::u16string longName = side + u"1" + side, otherName = side + u"2" + side;
  manager->CreateUserWorkspace(longName);
  manager->CreateUserWorkspace(otherName);
  auto popup = std::make_shared<WorkspacesPopup>(*manager);
  std::vector<std::u16string> names;
  manager->GetWorkspaces(names);
  const auto first = std::find(names.begin(), names.end(), longName) - names.begin();
  ASSERT_LT(std::size_t(first), names.size());
  EXPECT_LT(popup->GetItems()[std::size_t(first)].text.size(), longName.size()) << "the item is shortened";
  popup->PopupChanged(int(first));
  EXPECT_EQ(manager->GetCurrentWorkspace(), longName);
  EXPECT_EQ(popup->GetSelectedID(), int(first)) << "not the other name that shortens to the same text";
}

// A host may destroy its manager before the panels that show it: the views then leave the
// manager alone (under the address sanitizer a view reaching it fails the test).
TEST_F(Popup, ViewsThatOutliveTheirManagerNeverReachItAgain) {
  Restart();
  auto popup = std::make_shared<WorkspacesPopup>(*manager);
  auto bar = std::make_shared<WorkspaceSwitcherBar>(*manager);
  bar->UI_Invalidate();  // the bar joins the manager's views when first drawn
  popup->onSelectionChanged(0);  // a choice waiting for the pop-up's timer
  ASSERT_EQ(WorkspaceSwitcherManager::Get()->GetWorkspaceManager(), manager.get());
  manager.reset();
  EXPECT_EQ(WorkspaceSwitcherManager::Get()->GetWorkspaceManager(), nullptr) << "the switcher let it go";
  bar->UI_Invalidate();
  kivui::testing::ProcessEvents(20);
  bar.reset();
  popup.reset();
}

}  // namespace
