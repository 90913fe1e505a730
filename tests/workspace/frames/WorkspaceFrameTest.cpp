#include "workspace/WorkspaceTestSupport.h"

#include "services/core/Localizer.h"
#include "services/core/PropList.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/ScriptedAnswers.h"

using namespace kivtest;
namespace ui_testing = kivui::testing;

namespace {

using Frames = WorkspaceFixture;

TEST_F(Frames, ClosingTabsByTheirCloseBoxesMovesTheFrontTabAsExpected) {
  WorkspaceFrame* frame = FrameWith({"A", "B", "C"});
  // The last of three is front: closing it fronts the second.
  ui_testing::ClickAt(TabPoint(*frame, 2));
  EXPECT_EQ(frame->GetFrontTabIndex(), 2);
  ui_testing::ClickAt(TabPoint(*frame, 2, true));
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(frame->GetFrontTabPanel()->GetTabType(), "B");
  EXPECT_TRUE(frame->GetFrontTabPanel()->IsShown());
  EXPECT_FALSE(frame->GetTabPanel(0)->IsShown());

  // The third is front and the first closes: the front panel stays, now second.
  frame->AddTab("C", false);
  ui_testing::ClickAt(TabPoint(*frame, 2));
  ui_testing::ClickAt(TabPoint(*frame, 0, true));
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(frame->GetFrontTabIndex(), 1);
  EXPECT_EQ(frame->GetFrontTabPanel()->GetTabType(), "C");
}

// Closing the focused panel, by its close box or by the frame menu's Close Panel, hands
// the keyboard focus to the panel that comes to the front.
TEST_F(Frames, ClosingTheFocusedPanelFocusesTheNewFrontPanel) {
  WorkspaceFrame* frame = FrameWith({"A", "B", "C"});
  ui_testing::ClickAt(TabPoint(*frame, 1));
  ASSERT_EQ(workspace->GetFocusedTabPanel(), frame->GetTabPanel(1).get());
  ui_testing::ClickAt(TabPoint(*frame, 1, true));
  ASSERT_EQ(Types(*frame), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(workspace->GetFocusedTabPanel(), frame->GetTabPanel(1).get());

  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Command(kCmdClosePanel);
  const kivcore::Rect well = frame->GetTabWellGlobalRect();
  ui_testing::ClickAt({well.Right() + 8, well.top + well.height / 2});
  ASSERT_EQ(Types(*frame), (std::vector<std::string>{"A"}));
  EXPECT_EQ(workspace->GetFocusedTabPanel(), frame->GetTabPanel(0).get());
}

// A panel that hides when closed waits in its frame and can be reopened by its type.
TEST_F(Frames, AHiddenPanelCanBeReopenedByItsType) {
  WorkspaceFrame* frame = FrameWith({"A", "H"});
  TabPanelPtr hidden = frame->GetTabPanel(1);
  workspace->RemoveTab(frame, 1, true, true);
  EXPECT_FALSE(frame->HasRemovedTabProxy());
  EXPECT_TRUE(frame->CanReanimateTab("H"));
  EXPECT_EQ(frame->ReanimateTab("H"), hidden.get());
  EXPECT_FALSE(frame->CanReanimateTab("H"));
}

// The frame's own texts go through the localiser.
TEST_F(Frames, TheFrameTextsAreLocalised) {
  auto& localizer = kivcore::config::Localizer::Get();
  localizer.SetTranslation("$$$/kivworkspace/workspace/WorkspaceFrame/FlyoutButtonToolTip",
                           u"Menü des Bedienfelds");
  WorkspaceFrame* frame = FrameWith({"A"});
  localizer.ClearTranslations();
  std::vector<std::string> tips;
  for (std::size_t i = 0; i < frame->GetChildCount(); ++i) {
    if (std::string tip = frame->GetChild(i)->GetToolTip(); !tip.empty()) tips.push_back(tip);
  }
  EXPECT_EQ(tips, (std::vector<std::string>{"Menü des Bedienfelds"}));
}

TEST_F(Frames, TheTabWellAndThePanelContainerStayInStep) {
  WorkspaceFrame* frame = FrameWith({"A", "B", "C"});
  // Drag the first tab past the others: panels follow the tabs.
  const kivcore::Point from = TabPoint(*frame, 0), to = TabPoint(*frame, 2);
  ui_testing::DragFromTo(from, {to.x + 30, to.y}, 10);
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"B", "C", "A"}));
  for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
    EXPECT_EQ(frame->GetTabWell().GetTab(int(i)).id, int(frame->GetTabPanel(i)->GetID()));
  }
  frame->MoveTabPanel(2, 0);
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(frame->GetTabWell().GetTab(0).id, int(frame->GetTabPanel(0)->GetID()));

  // Names, labels and locks reach the tabs; an unchanged name is not sent again.
  TabPanelPtr b = frame->GetTabPanel(1);
  b->SetName(u"Bins");
  b->SetLabel(u"(3)");
  EXPECT_EQ(frame->GetTabWell().GetTab(1).text, "Bins");
  EXPECT_EQ(frame->GetTabWell().GetTab(1).label, "(3)");
  b->SetLocked(true);  // not lockable: the flag changes, the tab does not show it
  EXPECT_TRUE(b->GetLocked());
  EXPECT_FALSE(frame->GetTabWell().GetTab(1).locked);
}

TEST_F(Frames, RemovedPanelRecordsAreOnePerTypeNewestLast) {
  WorkspaceFrame* frame = FrameWith({"A", "B", "C"});
  auto a = frame->GetTabPanel(0);
  static_cast<NotePanel&>(*a).note = "old";
  frame->CacheTabData(a, false);
  frame->CacheTabData(frame->GetTabPanel(1), false);
  static_cast<NotePanel&>(*a).note = "new";
  frame->CacheTabData(a, false);
  ASSERT_EQ(frame->GetRemovedTabs().size(), 2u);
  EXPECT_EQ(frame->GetRemovedTabs()[0].first, "B");
  EXPECT_EQ(frame->GetRemovedTabs()[1].first, "A");
  EXPECT_NE(frame->GetRemovedTabs()[1].second.find("new"), std::string::npos);
  // The state carries the frame's view flags.
  EXPECT_NE(frame->GetRemovedTabs()[1].second.find("FrameViewFlags"), std::string::npos);

  TabDataList visible, removed, hidden;
  frame->DoGetTabData(visible, removed, hidden);
  EXPECT_EQ(visible.size(), 3u);
  EXPECT_EQ(removed.size(), 2u);
  EXPECT_TRUE(hidden.empty());
}

TEST_F(Frames, PanelAndTabWellRectanglesFollowTheZones) {
  WorkspaceFrame* frame = FrameWith({"A"});
  const kivcore::Rect r = frame->GetFrameLocalRect();
  const kivcore::Rect panel = frame->FrameRectToTabPanelRect(r), well = frame->FrameRectToTabWellRect(r);
  EXPECT_EQ(well.top + well.height, panel.top);  // the panels start under the tab well
  EXPECT_EQ(well.height, int(kivui::UI_TabWell::kTabHeight));
  EXPECT_EQ(panel.width, well.width);
  EXPECT_TRUE(r.Contains(panel));
  // The panel area in window coordinates is where the front panel is.
  const kivcore::Rect global = frame->GetTabPanelFrameGlobalRect();
  EXPECT_EQ(global.TopLeft(), main->UI_LocalToGlobal(panel.TopLeft()));
  EXPECT_EQ(frame->GetFrontTabPanel()->GetLocalBounds().width, float(panel.width));
}

TEST_F(Frames, FlagsAndClosePolicies) {
  WorkspaceFrame plain(main.get(), 9);
  EXPECT_EQ(plain.GetStackedViewState(), 4u);
  EXPECT_TRUE(plain.AllowFrameClose());  // empty
  WorkspaceFrame* frame = FrameWith({"A", "X", "N"});
  EXPECT_FALSE(frame->AllowFrameClose());
  // Close boxes only where the panel asks for one and may close.
  EXPECT_TRUE(frame->GetTabWell().GetTab(0).closeBox);
  EXPECT_FALSE(frame->GetTabWell().GetTab(1).closeBox);
  EXPECT_FALSE(frame->GetTabWell().GetTab(2).closeBox);
}

TEST_F(Frames, TheFlyoutMenuOffersWhatApplies) {
  WorkspaceFrame* left = FrameWith({"A"});
  WorkspaceFrame* right = FrameWith({"A", "X"});
  left->GetTabPanel(0)->EnableCloseOtherSimilarPanels(true);
  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Cancel();
  left->DoTabMenu(0, false, {0, 0, 10, 10});
  const kivui::OSMenu* menu = answers->GetAsked().back().menu;
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->FindCommand(kCmdClosePanel)->text, "Close Panel");
  EXPECT_TRUE(menu->FindCommand(kCmdCloseOtherSimilar)->enabled);
  EXPECT_FALSE(menu->FindCommand(kCmdCloseOthersInGroup)->enabled);  // one tab
  EXPECT_EQ(menu->FindCommand(kCmdMaximizeGroup)->text, "Maximize Panel Group");

  // Another panel of the type that cannot close disables "Close Other Similar Panels".
  right->AddTab("X", false);
  right->GetTabPanel(2)->EnableCloseOtherSimilarPanels(true);
  answers->Cancel();
  right->DoTabMenu(2, false, {0, 0, 10, 10});
  EXPECT_FALSE(answers->GetAsked().back().menu->FindCommand(kCmdCloseOtherSimilar)->enabled);

  // "Close Other Panels in Group" from the frame's menu button closes all but the front.
  WorkspaceFrame* group = FrameWith({"A", "B", "C"});
  group->BringTabToFront(1u);
  answers->Command(kCmdCloseOthersInGroup);
  ui_testing::ProcessEvents();
  const kivcore::Rect well = group->GetTabWellGlobalRect();
  ui_testing::ClickAt({well.Right() + 8, well.top + well.height / 2});
  EXPECT_EQ(Types(*group), (std::vector<std::string>{"B"}));
}

TEST_F(Frames, UndockingAPanelMakesAFloatingWindowAndTheLastPanelOfOneCannotBeUndocked) {
  WorkspaceFrame* frame = FrameWith({"A", "B"});
  frame->DoMenuCommand(1, kCmdUndockPanel);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* floating = workspace->GetWindows()[1];
  EXPECT_FALSE(floating->IsMain());
  ASSERT_NE(floating->GetRootFrame(), nullptr);
  EXPECT_EQ(Types(*floating->GetRootFrame()), (std::vector<std::string>{"B"}));
  EXPECT_EQ(Types(*frame), (std::vector<std::string>{"A"}));

  auto answers = ui_testing::ScriptedAnswers::Install();
  answers->Cancel();
  floating->GetRootFrame()->DoTabMenu(0, true, {0, 0, 1, 1});
  EXPECT_FALSE(answers->GetAsked().back().menu->FindCommand(kCmdUndockPanel)->enabled);
}

TEST_F(Frames, ADoubleClickOnATabMaximizesItsFrameAndAnotherRestores) {
  WorkspaceFrame* left = FrameWith({"A"});
  WorkspaceFrame* right = FrameWith({"B"});
  ui_testing::DoubleClickAt(TabPoint(*right, 0));
  EXPECT_EQ(main->GetMaximizedFrame(), right);
  EXPECT_FALSE(left->IsShown());
  EXPECT_EQ(right->GetFrameLocalRect(), main->GetClientRect());
  ui_testing::DoubleClickAt(TabPoint(*right, 0));
  EXPECT_EQ(main->GetMaximizedFrame(), nullptr);
  EXPECT_TRUE(left->IsShown());
}

}  // namespace

namespace {

TEST_F(Frames, UndockingAGroupMovesTheFrameItselfAndClosingAGroupEmptiesIt) {
  FrameWith({"A"});
  WorkspaceFrame* group = FrameWith({"B", "C"});
  group->DoMenuCommand(0, kCmdUndockGroup);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* floating = workspace->GetWindows()[1];
  EXPECT_EQ(floating->GetRootFrame(), group);
  EXPECT_EQ(group->GetTopLevelWindow(), floating);
  EXPECT_EQ(main->GetFrameCount(), 1u);
  EXPECT_EQ(Types(*group), (std::vector<std::string>{"B", "C"}));

  group->DoMenuCommand(0, kCmdCloseGroup);
  EXPECT_EQ(workspace->GetWindows().size(), 1u);  // its last panel took the window along
  EXPECT_TRUE(workspace->CanReanimateWindow("C"));
}

TEST_F(Frames, EmptyingTheWorkspaceKeepsHiddenPanelsFindable) {
  WorkspaceFrame* frame = FrameWith({"A", "H"});
  TabPanelPtr hidden = frame->GetTabPanel(1);
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  floating->CreateRootFrame("B", false, true);
  floating->UI_Show(true);
  workspace->RemoveTab(frame, 1, true, true);  // H hides in its frame
  workspace->RemoveTabPanels();
  EXPECT_EQ(main->GetFrameCount(), 0u);
  EXPECT_FALSE(floating->IsShown());
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
  std::list<TabPanelPtr> found;
  workspace->FindAllHiddenTabs(found);
  EXPECT_EQ(found, (std::list<TabPanelPtr>{hidden}));
}

}  // namespace
