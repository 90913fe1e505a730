// The workspaces pop-up: the workspaces with the current one chosen, then the commands,
// enabled as the state allows; choosing switches or runs the command.
#include "workspace/manager/ManagerTestSupport.h"

#include "sharedui/WorkspacesPopup.h"

using namespace kivtest;
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

}  // namespace
