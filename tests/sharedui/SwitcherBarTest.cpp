// The switcher bar in a real window, driven by real pointer events: a click on a tab
// switches, the handle narrows the row until workspaces overflow into the menu (which ends
// with "Edit Workspaces..."), the current tab's menu runs the workspace commands, and a
// switch from a bar or pop-up in a floating window that the switch closes waits until the
// click is over.
#include "workspace/manager/ManagerTestSupport.h"

#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/menu/OSMenu.h"

#include <fstream>
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/ToolsTab.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "sharedui/WorkspacesPopup.h"

using namespace kivtest;
using namespace kivworkspace::sharedui;
using NameList = std::vector<kivcore::UTF16String>;
namespace ui_testing = kivui::testing;

namespace {

// Records the workspace commands, and tells of each switch.
class SwitchWatchingWorkspace : public CommandWorkspace {
 public:
  void NotifyWorkspaceSwitched() override {
    if (onSwitched) onSwitched();
  }
  std::function<void()> onSwitched;
};

// A tools tab showing the switcher bar and the workspaces pop-up of the manager.
class SwitcherToolsCreator : public TabCreator {
 public:
  explicit SwitcherToolsCreator(Manager& manager) : TabCreator("Tools"), manager_(manager) {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    auto tab = std::make_shared<ToolsTab>(w, f, "Tools", u"Tools", &manager_);
    tab->ShowWorkspaceSwitcher(true);
    tab->ShowWorkspacePopup(true);
    return tab;
  }

 private:
  Manager& manager_;
};

struct SwitcherBar : ManagerFixture {
  std::shared_ptr<SwitchWatchingWorkspace> hooked = std::make_shared<SwitchWatchingWorkspace>();
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
  // The tabs drawn as the current workspace's, read from the drawn well: the face of such
  // a tab has the front tab's colour.
  std::vector<std::string> TabsDrawnCurrent() {
    const kivcore::RectF bounds = Well().GetLocalBounds();
    const kivui::Image image =
        kivui::RenderImage(int(bounds.width), int(bounds.height),
                           [&](kivui::Drawbot& d) { Well().UI_Draw(d, bounds); });
    const kivui::ThemeColors& theme = kivui::ThemeColors::Current();
    std::vector<std::string> current;
    for (int i = 0; i < Well().GetTabCount(); ++i) {
      const kivcore::RectF tab = Well().GetTabRect(i);
      if (tab.IsEmpty() || tab.left + 4 >= bounds.width) continue;
      const kivui::Color face = image.PixelAt(int(tab.left) + 3, int(tab.top) + 4);
      if (face == theme.tabFront || face == theme.tabFrontFocused)
        current.push_back(Well().GetTab(i).text);
    }
    return current;
  }
  // The tools tab of the floating window, when there is one.
  ToolsTab* FloatingTools() {
    for (TopLevelWindow* window : workspace->GetWindows()) {
      if (window == main.get() || !window->GetRootFrame()) continue;
      if (auto* tools = dynamic_cast<ToolsTab*>(window->GetRootFrame()->GetFrontTabPanel().get()))
        return tools;
    }
    return nullptr;
  }
};

TEST_F(SwitcherBar, AClickOnATabSwitchesAndTheCurrentTabIsFrontmost) {
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"Assembly", "Edit", "Grade", "Review", "Sound"}));
  EXPECT_EQ(bar->GetFrontmostIndex(), 1);
  ui_testing::ClickAt(TabCentre("Review"));
  ui_testing::ProcessEvents(20);
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
  ui_testing::ProcessEvents(20);
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
  ui_testing::ProcessEvents(20);
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

TEST_F(SwitcherBar, EditWorkspacesOpensTheLibrarysDialogWhoseTreeDeletesWithTheKeys) {
  // A host that runs no Edit command of its own gets the library's dialog.
  hooked->libraryEdits = true;
  std::vector<kivcore::UTF16String> left;
  answers->Command(WorkspaceSwitcherBar::kEditWorkspaces).Dialog([&](kivui::UI_Dialog& d) {
    auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
    d.UI_Show(true);
    ui_testing::ProcessEvents(20);
    kivui::UI_MultiColumnTree& tree = dialog.GetTree();
    for (const auto& [name, key] :
         {std::pair{u"Sound", kivui::kKeyDelete}, std::pair{u"Review", kivui::kKeyBackspace}}) {
      // A click selects the row (none was: a click on the selected row would rename it) and
      // gives the tree the keyboard; the key deletes the row.
      tree.SelectRow(-1);
      ui_testing::ClickAt(Centre(tree, tree.GetRowRect(dialog.FindRow(name))));
      ASSERT_EQ(tree.GetSelectedRowIDs(), std::vector<int>{dialog.FindRow(name)});
      ui_testing::KeyClick(key);
      EXPECT_EQ(dialog.FindRow(name), -1) << kivcore::UTF16to8(name);
    }
    left = dialog.GetSectionNames(WorkspaceSwitcherDialog::kBarRow);
  });
  ui_testing::ClickAt(TabCentre("Edit"));
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(answers->Pending(), 0u) << "the dialog opened";
  EXPECT_EQ(hooked->commands, std::vector<std::string>{"edit"});
  EXPECT_EQ(left, (NameList{u"Assembly", u"Edit", u"Grade"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Assembly", "Edit", "Grade"})) << "OK deleted them";
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"Assembly", "Edit", "Grade"}));
}

TEST_F(SwitcherBar, WhenTheCurrentWorkspaceHasNoTabNoTabIsDrawnCurrent) {
  EXPECT_EQ(TabsDrawnCurrent(), std::vector<std::string>{"Edit"});
  // Edit no longer shown, as Edit Workspaces leaves it: it stays current without a tab.
  auto* model = WorkspaceSwitcherManager::Get();
  std::erase(*model->GetShownWorkspaceList(), u"Edit");
  model->GetHiddenWorkspaceList()->push_back(u"Edit");
  model->NotifyListeners(nullptr);
  ui_testing::ProcessEvents(20);
  ASSERT_EQ(TabTexts(), (std::vector<std::string>{"Assembly", "Grade", "Review", "Sound"}));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  EXPECT_EQ(TabsDrawnCurrent(), std::vector<std::string>{});
  EXPECT_EQ(bar->GetFrontmostIndex(), -1);

  // A click on a tab switches to it, which is then drawn current; the hidden workspace
  // chosen elsewhere (a menu) leaves no tab drawn current again.
  ui_testing::ClickAt(TabCentre("Grade"));
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Grade");
  EXPECT_EQ(TabsDrawnCurrent(), std::vector<std::string>{"Grade"});
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(TabsDrawnCurrent(), std::vector<std::string>{});
}

TEST_F(SwitcherBar, SavingChangesOnANarrowedReorderedBarKeepsTheTabsPlace) {
  // Assembly dragged behind Grade (the press makes it current), then the row narrowed by
  // about the last tab's width (twice the handle's move), so that the last tabs overflow.
  const kivcore::Point grade = TabCentre("Grade");
  ui_testing::DragFromTo(TabCentre("Assembly"), {grade.x + 10, grade.y}, 8);
  ui_testing::ProcessEvents(20);
  ASSERT_EQ(manager->GetCurrentWorkspace(), u"Assembly");
  const kivcore::Point grip = Centre(bar->GetDragHandle(), bar->GetDragHandle().GetLocalBounds());
  ui_testing::DragFromTo(grip, {grip.x - int(Well().GetTabRect(4).width / 2) - 2, grip.y}, 6);
  ui_testing::ProcessEvents(20);
  auto* model = WorkspaceSwitcherManager::Get();
  const NameList shown = *model->GetShownWorkspaceList();
  const NameList overflow = *model->GetOverflowWorkspaceList();
  ASSERT_GE(shown.size(), 3u);
  ASSERT_FALSE(overflow.empty());
  ASSERT_EQ((NameList{shown.begin(), shown.begin() + 3}),
            (NameList{u"Edit", u"Grade", u"Assembly"}));

  // Save Changes to this Workspace: the workspace is made again from the live layout.
  manager->DeleteUserWorkspace(u"Assembly");
  manager->CreateUserWorkspace(u"Assembly");
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(*model->GetShownWorkspaceList(), shown);
  EXPECT_EQ(*model->GetOverflowWorkspaceList(), overflow);
  EXPECT_EQ(Well().GetTab(bar->GetFrontmostIndex()).text, "Assembly");
}

TEST_F(SwitcherBar, ASwitchFromAFloatingWindowThatItClosesWaitsUntilTheClickIsOver) {
  // The tools, with their switcher bar and workspaces pop-up, in a floating window over the
  // main one, kept as the workspace "Floating"; Edit has no floating window.
  workspace->RegisterTabCreator(std::make_unique<SwitcherToolsCreator>(*manager));
  manager->CreateUserWorkspace(u"Floating");
  const kivcore::Rect rect{140, 300, 850, 120};
  std::shared_ptr<TopLevelWindow> window = workspace->AddTopLevelWindow(false, &rect);
  window->CreateRootFrame("Tools", false, true);
  window->UI_Show(true);
  window.reset();
  manager->SaveWorkspace(u"Floating");
  ui_testing::ProcessEvents(20);

  // Whether the handler of the click that asked for the switch was still running when the
  // switch happened: the switch closes the window holding the control.
  auto handling = std::make_shared<bool>(false);
  auto switchedWhileHandling = std::make_shared<std::vector<bool>>();
  hooked->onSwitched = [handling, switchedWhileHandling] {
    switchedWhileHandling->push_back(*handling);
  };
  const auto watched = [handling](auto handler) {
    return [handling, handler](auto... args) {
      // Locals only after the call: it may free this function with its control.
      const auto flag = handling;
      const auto run = handler;
      *flag = true;
      run(args...);
      *flag = false;
    };
  };
  const auto clickAt = [](kivcore::Point at) {
    // The window under the press goes before the release, which the main window gets.
    ui_testing::MousePressAt(at);
    ui_testing::ProcessEvents(20);
    ui_testing::ProcessEvents();
    ui_testing::MouseReleaseAt(at);
    ui_testing::ProcessEvents(20);
  };

  // A click on the Edit tab of the floating window's bar.
  ToolsTab* tools = FloatingTools();
  ASSERT_TRUE(tools);
  tools->GetWindow()->Raise();  // over the main window, which a restore activates
  auto* floatingBar =
      dynamic_cast<WorkspaceSwitcherBar*>(tools->GetControl(ToolsTab::kWorkspaceSwitcher));
  ASSERT_TRUE(floatingBar && floatingBar->IsShown());
  std::weak_ptr<kivui::UI_Node> floatingBarAlive = floatingBar->weak_from_this();
  auto& well = floatingBar->GetTabWell();
  well.GetCallbacks().tabClicked = watched(well.GetCallbacks().tabClicked);
  kivcore::Point editTab;
  for (int i = 0; i < well.GetTabCount(); ++i)
    if (well.GetTab(i).text == "Edit") editTab = Centre(well, well.GetTabRect(i));
  clickAt(editTab);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  EXPECT_EQ(FloatingTools(), nullptr);
  EXPECT_TRUE(floatingBarAlive.expired()) << "the floating window went with its bar";
  EXPECT_EQ(*switchedWhileHandling, std::vector<bool>{false});
  EXPECT_EQ(Well().GetTab(bar->GetFrontmostIndex()).text, "Edit");

  // The same from the workspaces pop-up of the floating window, back in Floating.
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Floating"));
  ui_testing::ProcessEvents(20);
  switchedWhileHandling->clear();
  tools = FloatingTools();
  ASSERT_TRUE(tools);
  tools->GetWindow()->Raise();
  ui_testing::ProcessEvents(20);
  auto* popup = dynamic_cast<WorkspacesPopup*>(tools->GetControl(ToolsTab::kWorkspacePopup));
  ASSERT_TRUE(popup && popup->IsShown());
  popup->onSelectionChanged = watched(popup->onSelectionChanged);
  int editItem = -1;
  for (const auto& item : popup->GetItems())
    if (item.text == "Edit") editItem = item.id;
  ASSERT_GE(editItem, 0);
  answers->Command(editItem + 1);  // the pop-up's menu numbers its items from 1
  clickAt(Centre(*popup, popup->GetLocalBounds()));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");
  EXPECT_EQ(FloatingTools(), nullptr);
  EXPECT_EQ(*switchedWhileHandling, std::vector<bool>{false});
}

}  // namespace
