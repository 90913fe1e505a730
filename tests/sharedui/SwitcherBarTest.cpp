// The switcher bar in a real window, driven by real pointer events: a click on a tab
// switches, the handle narrows the row until workspaces overflow into the menu (which ends
// with "Edit Workspaces..."), and the current tab's menu runs the workspace commands.
#include "workspace/manager/ManagerTestSupport.h"

#include "services/ui/menu/OSMenu.h"

#include <fstream>
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspaceSwitcherManager.h"

using namespace kivtest;
using namespace kivworkspace::sharedui;
using NameList = std::vector<kivcore::UTF16String>;
namespace ui_testing = kivui::testing;

namespace {


struct SwitcherBar : ManagerFixture {
  std::shared_ptr<CommandWorkspace> hooked = std::make_shared<CommandWorkspace>();
  std::shared_ptr<ui_testing::ScriptedAnswers> answers = ui_testing::ScriptedAnswers::Install();
  std::shared_ptr<WorkspaceSwitcherBar> bar;

  SwitcherBar() { workspace = hooked; }
  void SetUp() override {
    WorkspaceSwitcherManager::Forget();
    ManagerFixture::SetUp();
    Restart();
    ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
    for (const char16_t* name : {u"Assembly", u"Review", u"Sound"}) manager->CreateUserWorkspace(name);
    ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
    bar = std::make_shared<WorkspaceSwitcherBar>(*manager);
    main->SetTopChrome(bar, 30);
    ui_testing::ProcessEvents(20);
  }
  void TearDown() override {
    EXPECT_EQ(answers->Pending(), 0u);
    main->SetTopChrome(nullptr, 0);
    bar.reset();
    WorkspaceSwitcherManager::Forget();
    ManagerFixture::TearDown();
  }
  WorkspaceSwitcherBarTabWell& Well() { return bar->GetTabWell(); }
  kivcore::Point Centre(const kivui::UI_Node& node, kivcore::RectF local) {
    const kivcore::RectF r = node.LocalRectToGlobalF(local);
    return {int(r.left + r.width / 2), int(r.top + r.height / 2)};
  }
  kivcore::Point TabCentre(const std::string& name) {
    for (int i = 0; i < Well().GetTabCount(); ++i)
      if (Well().GetTab(i).text == name) return Centre(Well(), Well().GetTabRect(i));
    ADD_FAILURE() << "no tab " << name;
    return {};
  }
  std::vector<std::string> TabTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < Well().GetTabCount(); ++i) texts.push_back(Well().GetTab(i).text);
    return texts;
  }
};

TEST_F(SwitcherBar, AClickOnATabSwitchesAndTheCurrentTabIsFrontmost) {
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"Assembly", "Edit", "Grade", "Review", "Sound"}));
  EXPECT_EQ(bar->GetFrontmostIndex(), 1);
  ui_testing::ClickAt(TabCentre("Review"));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Review");
  EXPECT_EQ(Well().GetTab(bar->GetFrontmostIndex()).text, "Review");
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(Well().GetTab(bar->GetFrontmostIndex()).text, "Grade") << "a switch elsewhere marks the tab";
  // The bar follows the manager's names.
  manager->CreateUserWorkspace(u"Evening");
  ui_testing::ProcessEvents();
  EXPECT_EQ(TabTexts().back(), "Evening");
}

TEST_F(SwitcherBar, AWorkspaceThatCannotBeReadIsReportedAndTheCurrentOneStays) {
  std::ofstream(kivcore::UTF16to8(manager->GetStoredStates(u"Review").current), std::ios::trunc) << "<proplist>";
  answers->Accept();
  ui_testing::ClickAt(TabCentre("Review"));
  ASSERT_FALSE(answers->GetAsked().empty());
  EXPECT_EQ(answers->GetAsked().back().kind, kivui::Prompt::kCaution);
  EXPECT_EQ(answers->GetAsked().back().title, "Review");
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  EXPECT_EQ(Well().GetTab(bar->GetFrontmostIndex()).text, "Edit");
}

TEST_F(SwitcherBar, NarrowingTheRowMovesWorkspacesIntoTheOverflowMenu) {
  const kivcore::RectF before = Well().GetFrame();
  ASSERT_GT(before.width, 0);
  const kivcore::Point grip = Centre(bar->GetDragHandle(), bar->GetDragHandle().GetLocalBounds());
  // A centred row narrows by twice the handle's move.
  ui_testing::DragFromTo(grip, {grip.x - 40, grip.y}, 4);
  EXPECT_NEAR(Well().GetFrame().width, before.width - 80, 1.5);
  ui_testing::DragFromTo({grip.x - 40, grip.y}, {grip.x - 400, grip.y}, 8);
  EXPECT_GE(Well().GetFrame().width, Well().GetMinimumWidth());
  const NameList shown = *WorkspaceSwitcherManager::Get()->GetShownWorkspaceList();
  const NameList overflow = *WorkspaceSwitcherManager::Get()->GetOverflowWorkspaceList();
  ASSERT_FALSE(overflow.empty()) << "tabs that no longer fit went to the overflow";
  EXPECT_EQ(shown.size() + overflow.size(), 5u);
  EXPECT_TRUE(WorkspaceSwitcherManager::Get()->HasWorkspaceSwitcherWidth()) << "the width is kept";

  // The overflow menu lists them in order, then "Edit Workspaces...". Choosing one switches.
  answers->Command(Well().GetTab(int(shown.size())).id);
  ui_testing::ClickAt(Centre(Well(), Well().GetOverflowButtonRect()));
  const kivui::OSMenu* menu = answers->GetAsked().back().menu;
  ASSERT_TRUE(menu);
  std::vector<std::string> items;
  for (const auto& item : menu->GetItems()) items.push_back(item.separator ? "-" : item.text);
  std::vector<std::string> expected;
  for (const auto& name : overflow) expected.push_back(kivcore::UTF16to8(name));
  expected.insert(expected.end(), {"-", "Edit Workspaces..."});
  EXPECT_EQ(items, expected);
  EXPECT_EQ(manager->GetCurrentWorkspace(), overflow.front());

  // Widening again brings them back, never beyond the width of all the tabs.
  const kivcore::Rect window = main->GetGlobalContentRect();
  const kivcore::Point moved = Centre(bar->GetDragHandle(), bar->GetDragHandle().GetLocalBounds());
  ui_testing::DragFromTo(moved, {window.left + window.width - 4, grip.y}, 8);
  EXPECT_NEAR(Well().GetFrame().width, before.width, 1.5);
  EXPECT_TRUE(WorkspaceSwitcherManager::Get()->GetOverflowWorkspaceList()->empty());
}

TEST_F(SwitcherBar, ATabDraggedToAnotherPlaceReordersTheBar) {
  const kivcore::Point from = TabCentre("Assembly");
  const kivcore::Point to = TabCentre("Grade");
  ui_testing::DragFromTo(from, {to.x + 10, to.y}, 8);
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(*WorkspaceSwitcherManager::Get()->GetShownWorkspaceList(),
            (NameList{u"Edit", u"Grade", u"Assembly", u"Review", u"Sound"}));
}

TEST_F(SwitcherBar, TheCurrentTabsMenuRunsTheWorkspaceCommands) {
  const std::vector<std::pair<int, std::string>> choices = {
      {WorkspaceSwitcherBar::kResetToSavedLayout, "reset"},
      {WorkspaceSwitcherBar::kSaveChanges, "save"},
      {WorkspaceSwitcherBar::kSaveAsNew, "new"},
      {WorkspaceSwitcherBar::kEditWorkspaces, "edit"},
  };
  for (const auto& [command, expected] : choices) {
    hooked->commands.clear();
    answers->Command(command);
    ui_testing::ClickAt(TabCentre("Edit"));
    ui_testing::ProcessEvents(20);
    EXPECT_EQ(hooked->commands, std::vector<std::string>{expected});
  }
  const kivui::OSMenu* menu = answers->GetAsked().back().menu;
  ASSERT_TRUE(menu);
  std::vector<std::string> items;
  for (const auto& item : menu->GetItems()) items.push_back(item.separator ? "-" : item.text);
  EXPECT_EQ(items, (std::vector<std::string>{"Reset to Saved Layout", "Save Changes to this Workspace",
                                             "Save as New Workspace...", "-", "Edit Workspaces..."}));
  // A click on another tab only switches.
  ui_testing::ClickAt(TabCentre("Sound"));
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Sound");
}

}  // namespace
